#include "engine/AgreementText.h"

#include <cstring>

#include "res/resource.h"

std::vector<uint16_t> AgreementTextIds(bool japanese, bool corvane, bool pelmora, bool tessaline) {
  std::vector<uint16_t> ids;
  if (japanese) {
    if (corvane) ids.push_back(IDR_AGREEMENT_CORVANE_JA);
    if (pelmora) ids.push_back(IDR_AGREEMENT_PELMORA_JA);
    if (tessaline) ids.push_back(IDR_AGREEMENT_TESSALINE_JA);
  } else if (corvane) {
    ids.push_back(IDR_AGREEMENT_CORVANE_EN);
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
