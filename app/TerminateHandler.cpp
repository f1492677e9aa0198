// The C++ runtime's default handler for an uncaught exception prints the exception's
// demangled type to stderr before it aborts. A windowed program has no stderr, and the
// demangler and the printf it needs are about a seventh of the exe. This one only aborts,
// as that handler ends. Linked as an object of the exe so that it replaces the runtime's.

#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
