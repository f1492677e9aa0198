[InstallShield Silent]
Version=v7.00
File=Response File
title=Corvane
sleep=1500
exit=0
