/* The deploy benchmark's reference for a console program's start-up and end under Wine:
   a console program that does nothing, built with the same static runtime. */
int main(void) { return 0; }
