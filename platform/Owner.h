#pragma once
// One move-only owner for anything the core obtains and must give back: it holds the
// resource and the call that releases it, and makes that call exactly once, on Reset or
// when it goes away (an exception passing through included).

#include <cstdio>
#include <utility>

template <typename Resource, typename Release>
class Owner {
 public:
  Owner() = default;
  Owner(Resource resource, Release release)
      : m_resource(std::move(resource)), m_release(std::move(release)), m_bOwns(true) {}
  Owner(Owner&& other) noexcept
      : m_resource(std::move(other.m_resource)),
        m_release(std::move(other.m_release)),
        m_bOwns(std::exchange(other.m_bOwns, false)) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) {
      Reset();
      m_resource = std::move(other.m_resource);
      m_release = std::move(other.m_release);
      m_bOwns = std::exchange(other.m_bOwns, false);
    }
    return *this;
  }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  ~Owner() { Reset(); }

  bool IsOpen() const { return m_bOwns; }
  const Resource& Get() const { return m_resource; }

  void Reset() {
    if (std::exchange(m_bOwns, false)) m_release(m_resource);
  }

 private:
  Resource m_resource{};
  Release m_release{};
  bool m_bOwns = false;
};

// A C stream, closed once; empty when it cannot be opened.
struct CloseStdioFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using StdioFile = Owner<std::FILE*, CloseStdioFile>;
inline StdioFile OpenStdioFile(const char* path, const char* mode) {
  std::FILE* file = std::fopen(path, mode);
  return file != nullptr ? StdioFile(file, CloseStdioFile{}) : StdioFile();
}
