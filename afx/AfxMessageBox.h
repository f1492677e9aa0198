#pragma once
// Every message box of the program: a string id and a bare box type.

#include "afx/AfxCore.h"

// Shows string `id` with the application name as caption. When `type` names no icon,
// MB_OK/MB_OKCANCEL get the exclamation icon and MB_YESNO/MB_YESNOCANCEL the question icon.
// On the main thread the box is modal to the main window; on any other thread it has no
// owner. Returns the id of the button pressed.
int AfxMessageBox(UINT id, UINT type);
