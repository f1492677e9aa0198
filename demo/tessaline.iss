[InstallShield Silent]
Version=v7.00
File=Response File
title=Tessaline
sleep=1500
exit=0
