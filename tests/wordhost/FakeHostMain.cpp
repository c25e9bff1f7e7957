// fake_wordhost: a host process whose engine is the fake office, for tests of the Word proxy over
// a real channel without LibreOffice. Serves one client on standard input and output.
// The one document it knows is the file $MARROWDALE_FAKE_DOCUMENT, whose lines describe it:
//   pages 3 3 2           lines per page
//   paragraphs -4 0 0 -2  left and right indent of each paragraph, in points
//   refuse 1              paragraphs whose indent writes the engine refuses
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "protocol/Message.h"
#include "shared/WriteAll.h"
#include "tests/wordhost/FakeOffice.h"

namespace {

wordhosttest::FakeContent readDocument(const std::string& path, wordhosttest::FakeOffice& office) {
    wordhosttest::FakeContent content;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string what;
        words >> what;
        if (what == "pages") {
            std::vector<int> lines;
            for (int count = 0; words >> count;) lines.push_back(count);
            content.pages = wordhosttest::pagesWithLines(lines);
        } else if (what == "paragraphs") {
            for (double left = 0, right = 0; words >> left >> right;)
                content.paragraphs.push_back({left, right});
        } else if (what == "refuse") {
            for (std::size_t paragraph = 0; words >> paragraph;) office.refuseIndentsOf.insert(paragraph);
        }
    }
    return content;
}

bool send(const protocol::Message& reply) {
    const std::string line = reply.encodeLine();
    return shared::writeAll(STDOUT_FILENO, line.data(), line.size()) &&
           shared::writeAll(STDOUT_FILENO, reply.payload().data(), reply.payload().size());
}

}  // namespace

int main() {
    wordhosttest::FakeHost host;
    if (const char* document = std::getenv("MARROWDALE_FAKE_DOCUMENT"))
        host.office.addDocument(document, readDocument(document, host.office));
    protocol::MessageReader reader;
    char buffer[1 << 16];
    try {
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) return 0;  // the client went away
            reader.feed(buffer, static_cast<std::size_t>(got));
            while (const std::optional<protocol::Message> request = reader.next()) {
                if (!send(host.dispatcher.handle(*request)) || host.dispatcher.quitRequested()) return 0;
            }
        }
    } catch (const protocol::ProtocolError& error) {
        std::fprintf(stderr, "fake_wordhost: %s\n", error.what());
        return 2;
    }
}
