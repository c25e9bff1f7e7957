#pragma once

#include <QString>
#include <QStringList>
#include <ostream>
#include <sys/types.h>

// Readable paths in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace fsutiltest {

// A scratch folder tree for one test, removed with everything in it at the end (locked
// folders are opened again first).
class TestTree {
public:
    // Under the test's temporary folder, or under `base` with mode `mode` (another user can
    // then reach it when the path to `base` is open).
    TestTree();
    TestTree(const QString& base, mode_t mode);
    ~TestTree();
    TestTree(const TestTree&) = delete;
    TestTree& operator=(const TestTree&) = delete;

    QString root() const { return root_; }                // without a trailing "/"
    QString path(const QString& relative) const;         // root + "/" + relative
    QString folder(const QString& relative) const;       // creates it; path + "/"
    QString file(const QString& relative) const;         // creates it with a little text
    void link(const QString& target, const QString& relative) const;
    void setMode(const QString& relative, mode_t mode) const;
    void openAllFolders() const;  // mode 0755 on the root and every folder below it

private:
    QString root_;
};

// The entries of a folder in the order the directory returns them (no "." or "..").
QStringList directoryOrder(const QString& folder);

}  // namespace fsutiltest
