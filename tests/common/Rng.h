// A small random generator of our own (xorshift), so that every platform replays the same
// seeded run.
#pragma once

#include <cstddef>
#include <cstdint>

class Rng {
public:
  explicit Rng(uint64_t seed) : m_state(seed ? seed : 1) {}
  uint32_t Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 7;
    m_state ^= m_state << 17;
    return static_cast<uint32_t>(m_state >> 16);
  }
  int Below(int n) { return n > 0 ? static_cast<int>(Next() % static_cast<uint32_t>(n)) : 0; }
  template <class T, size_t N> const T& Pick(const T (&items)[N]) { return items[Below(static_cast<int>(N))]; }

private:
  uint64_t m_state;
};
