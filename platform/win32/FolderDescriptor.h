#pragma once
// The security attributes that a folder is created with, made from SDDL text; apart
// from the folder's creation so that a test can read back exactly what is asked for.

#include <windows.h>
// After windows.h:
#include <sddl.h>

#include "platform/win32/UniqueHandle.h"

class FolderDescriptor {
 public:
  explicit FolderDescriptor(const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
      return;
    m_descriptor.Reset(descriptor);
    m_attributes = {sizeof m_attributes, descriptor, FALSE};
  }
  // Null when the text is no descriptor.
  SECURITY_ATTRIBUTES* Attributes() { return m_descriptor ? &m_attributes : nullptr; }

 private:
  UniqueLocalMemory m_descriptor;
  SECURITY_ATTRIBUTES m_attributes = {};
};
