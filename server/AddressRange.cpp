#include "server/AddressRange.h"

#include <arpa/inet.h>

#include <algorithm>

namespace {

constexpr uint8_t kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};

// True when the first `bits` bits of the two byte runs are equal.
bool SamePrefix(const uint8_t* a, const uint8_t* b, unsigned bits) {
  for (unsigned i = 0; bits > 0; ++i, bits -= std::min(bits, 8u)) {
    const uint8_t mask = static_cast<uint8_t>(0xFF00 >> std::min(bits, 8u));
    if ((a[i] & mask) != (b[i] & mask)) return false;
  }
  return true;
}

// A prefix length of 0 to `most`, in plain decimal digits.
std::optional<unsigned> ParsePrefix(const std::string& text, unsigned most) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return {};
  const unsigned prefix = static_cast<unsigned>(std::stoul(text));
  return prefix <= most ? std::optional<unsigned>(prefix) : std::nullopt;
}

}  // namespace

std::optional<IpAddress> IpAddress::Parse(const std::string& text) {
  IpAddress address;
  if (inet_pton(AF_INET, text.c_str(), address.bytes.data()) == 1) return address;
  if (inet_pton(AF_INET6, text.c_str(), address.bytes.data()) != 1) return std::nullopt;
  if (std::equal(std::begin(kMappedPrefix), std::end(kMappedPrefix), address.bytes.begin())) {
    std::copy(address.bytes.begin() + 12, address.bytes.end(), address.bytes.begin());
    std::fill(address.bytes.begin() + 4, address.bytes.end(), 0);
    return address;
  }
  address.v6 = true;
  return address;
}

std::optional<AddressRange> AddressRange::Parse(const std::string& text) {
  const size_t slash = text.find('/');
  const std::optional<IpAddress> base = IpAddress::Parse(text.substr(0, slash));
  if (!base) return std::nullopt;
  const unsigned bits = static_cast<unsigned>(base->Size() * 8);
  // A mapped IPv4 range (::ffff:10.0.0.0/104) counts its prefix over the IPv6 form.
  const bool mapped = !base->v6 && text.find(':') != std::string::npos;
  if (slash == std::string::npos) return AddressRange(*base, bits);
  const std::optional<unsigned> prefix = ParsePrefix(text.substr(slash + 1), mapped ? 128 : bits);
  if (!prefix || (mapped && *prefix < 96)) return std::nullopt;
  return AddressRange(*base, mapped ? *prefix - 96 : *prefix);
}

bool AddressRange::Contains(const IpAddress& address) const {
  return address.v6 == base_.v6 && SamePrefix(address.bytes.data(), base_.bytes.data(), prefix_);
}
