#pragma once
// The program's own resources, those of its exe (kernel32 on Windows).

#include <cstdint>
#include <string>

class Resources {
 public:
  virtual ~Resources() = default;
  // Every byte of the resource `id` of the numbered type `type`; empty when there is none.
  virtual std::string Bytes(uint16_t type, uint16_t id) = 0;
};

Resources& SystemResources();
