// marrowdale-wordhost: the document engine host that stands in for "Word.Application".
//   marrowdale-wordhost [--serve]        serve one client over standard input and output
//   marrowdale-wordhost --render DOC DIR write DIR/page-N.png for every page, print the page count
//   marrowdale-wordhost --pages DOC...   print each document's page count, drawing no page
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "shared/LargeBuffers.h"
#include "wordhost/DiagnosticModes.h"
#include "wordhost/HostServer.h"

int main(int argc, char** argv) {
    shared::restartWithHugePageHeap(argv);
    shared::reuseLargeBuffers();
    try {
        if (argc == 4 && std::strcmp(argv[1], "--render") == 0)
            return wordhost::renderDocument(argv[2], argv[3]);
        if (argc >= 3 && std::strcmp(argv[1], "--pages") == 0)
            return wordhost::countPages(std::vector<std::string>(argv + 2, argv + argc));
        if (argc == 1 || (argc == 2 && std::strcmp(argv[1], "--serve") == 0)) return wordhost::serveClient();
    } catch (const std::exception& error) {
        // Nothing usable (no private folder, say): the client sees the channel close.
        std::fprintf(stderr, "marrowdale-wordhost: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: %s [--serve] | --render DOCUMENT FOLDER | --pages DOCUMENT...\n", argv[0]);
    return 2;
}
