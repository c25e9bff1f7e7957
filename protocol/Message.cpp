#include "protocol/Message.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "shared/PercentEncode.h"

namespace protocol {

namespace {

bool isPlain(unsigned char c) {
    return std::isalnum(c) != 0 || c == '.' || c == '_' || c == '-' || c == '/' || c == ':' || c == ',' ||
           c == '+';
}

bool isKeyChar(unsigned char c) { return std::isalnum(c) != 0 || c == '_' || c == '-'; }

std::string escape(std::string_view value) { return shared::percentEncode(value, isPlain); }

std::string unescape(std::string_view text) {
    std::optional<std::string> bytes = shared::percentDecode(text);
    if (!bytes) throw ProtocolError("bad escape in a token");
    return std::move(*bytes);
}

Message parseLine(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = line.find(' ', start);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start) words.push_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    if (words.empty()) throw ProtocolError("empty command line");
    for (unsigned char c : words[0]) {
        if (!isKeyChar(c)) throw ProtocolError("bad message name");
    }
    Message message{std::string(words[0])};
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string_view::npos || eq == 0) throw ProtocolError("token without name=value");
        const std::string_view key = words[i].substr(0, eq);
        for (unsigned char c : key) {
            if (!isKeyChar(c)) throw ProtocolError("bad token name");
        }
        message.set(key, unescape(words[i].substr(eq + 1)));
    }
    return message;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

Message::Message(std::string name) : name_(std::move(name)) {}

bool Message::is(std::string_view name) const { return sameName(name_, name); }

Message& Message::set(std::string_view key, std::string_view value) {
    for (auto& token : tokens_) {
        if (sameName(token.first, key)) {
            token.second = std::string(value);
            return *this;
        }
    }
    tokens_.emplace_back(std::string(key), std::string(value));
    return *this;
}

Message& Message::set(std::string_view key, long long value) { return set(key, std::to_string(value)); }

Message& Message::set(std::string_view key, double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return set(key, std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

const std::string* Message::find(std::string_view key) const {
    for (const auto& token : tokens_) {
        if (sameName(token.first, key)) return &token.second;
    }
    return nullptr;
}

bool Message::has(std::string_view key) const { return find(key) != nullptr; }

std::string Message::get(std::string_view key, std::string_view fallback) const {
    const std::string* value = find(key);
    return value != nullptr ? *value : std::string(fallback);
}

long long Message::getInt(std::string_view key) const {
    const std::string* value = find(key);
    if (value == nullptr) throw ProtocolError("missing token " + std::string(key));
    long long number = 0;
    const auto result = std::from_chars(value->data(), value->data() + value->size(), number);
    if (result.ec != std::errc() || result.ptr != value->data() + value->size()) {
        throw ProtocolError("token " + std::string(key) + " is not a whole number");
    }
    return number;
}

long long Message::getInt(std::string_view key, long long fallback) const {
    return has(key) ? getInt(key) : fallback;
}

double Message::getDouble(std::string_view key) const {
    const std::string* value = find(key);
    if (value == nullptr) throw ProtocolError("missing token " + std::string(key));
    double number = 0;
    const auto result = std::from_chars(value->data(), value->data() + value->size(), number);
    if (result.ec != std::errc() || result.ptr != value->data() + value->size()) {
        throw ProtocolError("token " + std::string(key) + " is not a number");
    }
    return number;
}

Message& Message::setPayload(std::string bytes) {
    payload_ = std::move(bytes);
    return *this;
}

std::string Message::encodeLine() const {
    std::string out = name_;
    for (const auto& [key, value] : tokens_) {
        if (sameName(key, "payload")) continue;  // the length is always the payload's own
        out += ' ';
        out += key;
        out += '=';
        out += escape(value);
    }
    if (!payload_.empty()) {
        out += " payload=";
        out += std::to_string(payload_.size());
    }
    out += '\n';
    return out;
}

std::string Message::encode() const { return encodeLine() + payload_; }

void MessageReader::feed(const char* data, std::size_t size) {
    // A payload that is arriving goes straight into its message: page pictures are megabytes.
    if (pending_ && consumed_ == buffer_.size()) {
        std::string& payload = pending_->payload();
        const std::size_t take = std::min(size, pendingPayload_ - payload.size());
        payload.append(data, take);
        data += take;
        size -= take;
        if (size == 0) return;
    }
    if (consumed_ > 0 && consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    }
    buffer_.append(data, size);
}

std::optional<Message> MessageReader::next() {
    if (!pending_) {
        const std::size_t newline = buffer_.find('\n', consumed_);
        if (newline == std::string::npos) {
            if (buffer_.size() - consumed_ > kMaxLine) throw ProtocolError("command line too long");
            return std::nullopt;
        }
        Message message = parseLine(std::string_view(buffer_).substr(consumed_, newline - consumed_));
        consumed_ = newline + 1;
        const long long length = message.getInt("payload", 0);
        if (length < 0 || static_cast<unsigned long long>(length) > kMaxPayload)
            throw ProtocolError("bad payload length");
        pendingPayload_ = static_cast<std::size_t>(length);
        pending_ = std::move(message);
        pending_->payload().reserve(std::min(pendingPayload_, kReserveAtOnce));
    }
    std::string& payload = pending_->payload();
    const std::size_t take = std::min(buffer_.size() - consumed_, pendingPayload_ - payload.size());
    payload.append(buffer_, consumed_, take);
    consumed_ += take;
    if (payload.size() < pendingPayload_) return std::nullopt;
    if (consumed_ > (1 << 16) && consumed_ * 2 > buffer_.size()) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
    std::optional<Message> done = std::move(pending_);
    pending_.reset();
    pendingPayload_ = 0;
    return done;
}

}  // namespace protocol
