#include "engine/AgreementText.h"

#include <cstring>

std::vector<uint16_t> AgreementTextIds(bool japanese, const ComponentSelection& selection) {
  std::vector<uint16_t> ids;
  for (std::size_t k = 0; k < kComponentCount; ++k) {
    const uint16_t id = japanese ? kComponents[k].agreementJapanese : kComponents[k].agreementOther;
    if (selection[k] && id != 0) ids.push_back(id);
  }
  return ids;
}

std::string JoinAgreementTexts(const std::vector<uint16_t>& ids,
                               const std::function<std::string(uint16_t)>& loadText) {
  std::string text;
  for (uint16_t id : ids) {
    text += "\r\n";
    text += loadText(id);
  }
  return text;
}

std::string TextUpToNul(const void* data, size_t size) {
  if (data == nullptr) return std::string();
  const char* bytes = static_cast<const char*>(data);
  const void* nul = std::memchr(bytes, '\0', size);
  return std::string(bytes, nul ? static_cast<const char*>(nul) : bytes + size);
}
