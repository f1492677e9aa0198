#pragma once
// What reading a file's signer obtains from the platform, given back in one order however
// far the reading got: the two memory blocks (name, signer information), then the
// certificate before the store it was found in, then the store before the message it came
// with.

#include <array>
#include <functional>
#include <utility>

class SignerHold {
 public:
  // In the order of release.
  enum Object { Name, SignerInfo, Certificate, Store, Message, kObjects };

  SignerHold() = default;
  SignerHold(const SignerHold&) = delete;
  SignerHold& operator=(const SignerHold&) = delete;
  ~SignerHold() {
    for (const auto& release : m_releases) {
      if (release) release();
    }
  }

  // The call that gives the object back when the hold ends.
  void Keep(Object object, std::function<void()> release) {
    m_releases[object] = std::move(release);
  }

 private:
  std::array<std::function<void()>, kObjects> m_releases;
};
