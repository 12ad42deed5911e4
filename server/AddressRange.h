#pragma once
// Client addresses and ranges of them, IPv4 and IPv6, as the upload limits compare them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// An address as bytes. IPv4 addresses, also in their IPv4-mapped IPv6 form (::ffff:192.0.2.7), are
// held as IPv4, so a client compares the same whichever socket it came through.
struct IpAddress {
  bool v6 = false;
  std::array<uint8_t, 16> bytes{};

  size_t Size() const { return v6 ? 16 : 4; }
  // "192.0.2.7", "2001:db8::7"; nothing for anything else.
  static std::optional<IpAddress> Parse(const std::string& text);
};

// A range in CIDR form: "192.168.1.0/24", "2001:db8::/32", or one address ("192.0.2.7", "::1").
class AddressRange {
 public:
  // Nothing for a malformed range or a prefix longer than the address.
  static std::optional<AddressRange> Parse(const std::string& text);

  bool Contains(const IpAddress& address) const;

 private:
  AddressRange(const IpAddress& base, unsigned prefix) : base_(base), prefix_(prefix) {}

  IpAddress base_;
  unsigned prefix_;
};
