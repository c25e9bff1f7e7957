#include "protocol/Indents.h"

#include <charconv>
#include <string_view>

#include "protocol/Message.h"
#include "shared/PercentEncode.h"

namespace protocol {

namespace {

// The shortest text that reads back as the same number.
void appendNumber(std::string& out, double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

template <typename Number>
bool readNumber(std::string_view text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The blank-separated fields of each non-empty line of `payload`.
template <typename Each>
void forEachLine(const std::string& payload, Each each) {
    std::size_t start = 0;
    while (start < payload.size()) {
        std::size_t end = payload.find('\n', start);
        if (end == std::string::npos) end = payload.size();
        const std::string_view line(payload.data() + start, end - start);
        std::vector<std::string_view> fields;
        std::size_t from = 0;
        while (from < line.size()) {
            std::size_t to = line.find(' ', from);
            if (to == std::string_view::npos) to = line.size();
            if (to > from) fields.push_back(line.substr(from, to - from));
            from = to + 1;
        }
        if (!line.empty()) each(line, fields);
        start = end + 1;
    }
}

}  // namespace

std::string encodeIndents(const std::vector<ParagraphIndents>& indents) {
    std::string payload;
    for (const ParagraphIndents& indent : indents) {
        appendNumber(payload, indent.left);
        payload += ' ';
        appendNumber(payload, indent.right);
        payload += '\n';
    }
    return payload;
}

std::vector<ParagraphIndents> decodeIndents(const std::string& payload) {
    std::vector<ParagraphIndents> indents;
    forEachLine(payload, [&](std::string_view line, const std::vector<std::string_view>& fields) {
        ParagraphIndents indent;
        if (fields.size() != 2 || !readNumber(fields[0], indent.left) ||
            !readNumber(fields[1], indent.right)) {
            throw ProtocolError("bad paragraph line: " + std::string(line));
        }
        indents.push_back(indent);
    });
    return indents;
}

void appendIndentEdit(std::string& payload, const IndentEdit& edit) {
    payload += std::to_string(edit.paragraph);
    payload += edit.left ? " left " : " right ";
    appendNumber(payload, edit.points);
    payload += '\n';
}

std::vector<IndentEdit> decodeIndentEdits(const std::string& payload) {
    std::vector<IndentEdit> edits;
    forEachLine(payload, [&](std::string_view line, const std::vector<std::string_view>& fields) {
        IndentEdit edit;
        if (fields.size() != 3 || !readNumber(fields[0], edit.paragraph) ||
            (fields[1] != "left" && fields[1] != "right") || !readNumber(fields[2], edit.points)) {
            throw ProtocolError("bad indent line: " + std::string(line));
        }
        edit.left = fields[1] == "left";
        edits.push_back(edit);
    });
    return edits;
}

std::string encodeIndentWriteFailures(const std::vector<IndentWriteFailure>& failures) {
    std::string payload;
    for (const IndentWriteFailure& failure : failures) {
        payload += std::to_string(failure.write);
        payload += ' ';
        payload += std::to_string(failure.number);
        payload += ' ';
        // Neither blank nor newline survives, so the description stays one field of one line.
        payload += shared::percentEncode(failure.description,
                                         [](unsigned char c) { return c > ' ' && c < 127 && c != '%'; });
        payload += '\n';
    }
    return payload;
}

std::vector<IndentWriteFailure> decodeIndentWriteFailures(const std::string& payload) {
    std::vector<IndentWriteFailure> failures;
    forEachLine(payload, [&](std::string_view line, const std::vector<std::string_view>& fields) {
        IndentWriteFailure failure;
        std::optional<std::string> description;
        if (fields.size() < 2 || fields.size() > 3 || !readNumber(fields[0], failure.write) ||
            !readNumber(fields[1], failure.number) ||
            !(description = shared::percentDecode(fields.size() == 3 ? fields[2] : std::string_view()))) {
            throw ProtocolError("bad indent failure line: " + std::string(line));
        }
        failure.description = std::move(*description);
        failures.push_back(std::move(failure));
    });
    return failures;
}

}  // namespace protocol
