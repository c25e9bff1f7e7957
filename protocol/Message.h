#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace protocol {

// The protocol version both sides announce in the "hello" handshake.
constexpr int kProtocolVersion = 1;

// A message that does not follow the protocol (see PROTOCOL.md).
class ProtocolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One message between the Word client and the engine host: a command line of a name and
// `key=value` tokens, and an optional binary payload. Names and keys match without regard to case.
class Message {
  public:
    Message() = default;
    explicit Message(std::string name);

    const std::string& name() const { return name_; }
    bool is(std::string_view name) const;  // case-insensitive

    Message& set(std::string_view key, std::string_view value);
    Message& set(std::string_view key, const char* value) { return set(key, std::string_view(value)); }
    Message& set(std::string_view key, long long value);
    Message& set(std::string_view key, int value) { return set(key, static_cast<long long>(value)); }
    Message& set(std::string_view key, double value);

    bool has(std::string_view key) const;
    std::string get(std::string_view key, std::string_view fallback = {}) const;
    // The token as a number; throws ProtocolError when it is missing (without fallback) or not a number.
    long long getInt(std::string_view key) const;
    long long getInt(std::string_view key, long long fallback) const;
    double getDouble(std::string_view key) const;

    const std::vector<std::pair<std::string, std::string>>& tokens() const { return tokens_; }

    const std::string& payload() const { return payload_; }
    std::string& payload() { return payload_; }
    Message& setPayload(std::string bytes);

    // The bytes on the wire: the command line, "\n", then the payload.
    std::string encode() const;
    // Just the command line with its "\n", for writing a large payload without copying it.
    std::string encodeLine() const;

  private:
    const std::string* find(std::string_view key) const;

    std::string name_;
    std::vector<std::pair<std::string, std::string>> tokens_;
    std::string payload_;
};

// Cuts a byte stream into messages. Feed it what arrives; take complete messages with next().
class MessageReader {
  public:
    static constexpr std::size_t kMaxLine = 1 << 20;
    static constexpr std::size_t kMaxPayload = std::size_t(1) << 31;
    // A length is only believed this far before its bytes arrive.
    static constexpr std::size_t kReserveAtOnce = std::size_t(64) << 20;

    void feed(const char* data, std::size_t size);
    // The next complete message, or nothing while one is still incomplete; throws ProtocolError.
    std::optional<Message> next();
    bool empty() const { return buffer_.size() == consumed_; }

  private:
    std::string buffer_;
    std::size_t consumed_ = 0;
    std::optional<Message> pending_;  // command line read, payload still arriving
    std::size_t pendingPayload_ = 0;
};

// Case-insensitive comparison of ASCII names.
bool sameName(std::string_view a, std::string_view b);

}  // namespace protocol
