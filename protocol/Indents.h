#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace protocol {

// Left and right indent of one paragraph, in points, as Word reports them.
struct ParagraphIndents {
    double left = 0;
    double right = 0;
    bool operator==(const ParagraphIndents&) const = default;
};

// One indent write: paragraph `paragraph` (from 0) gets `points` as its left or right indent.
struct IndentEdit {
    std::size_t paragraph = 0;
    bool left = true;
    double points = 0;
    bool operator==(const IndentEdit&) const = default;
};

// The payload of the "paragraphs" reply: a line "left right" per paragraph.
std::string encodeIndents(const std::vector<ParagraphIndents>& indents);
std::vector<ParagraphIndents> decodeIndents(const std::string& payload);  // throws ProtocolError

// The payload of the "setindents" request: a line "paragraph left|right points" per write.
void appendIndentEdit(std::string& payload, const IndentEdit& edit);
std::vector<IndentEdit> decodeIndentEdits(const std::string& payload);  // throws ProtocolError

// An indent write the engine refused: its place in the request's payload (from 0), and the error
// the client raises for it.
struct IndentWriteFailure {
    std::size_t write = 0;
    long long number = 0;
    std::string description;
    bool operator==(const IndentWriteFailure&) const = default;
};

// The payload of a "setindents" reply: a line "write number description" per refused write, the
// description percent-encoded. Every write of the request was tried; the others went well.
std::string encodeIndentWriteFailures(const std::vector<IndentWriteFailure>& failures);
std::vector<IndentWriteFailure> decodeIndentWriteFailures(
    const std::string& payload);  // throws ProtocolError

}  // namespace protocol
