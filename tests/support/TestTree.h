#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>

namespace testsupport {

// A scratch folder tree for one test, removed with everything in it at the end (locked
// folders are opened again first).
class TestTree {
  public:
    // Under the temporary folder, or under `base` with mode `mode` (another user can then reach
    // it when the path to `base` is open).
    TestTree();
    TestTree(const QString& base, mode_t mode);
    ~TestTree();
    TestTree(const TestTree&) = delete;
    TestTree& operator=(const TestTree&) = delete;

    QString root() const { return root_; }        // without a trailing "/"
    QString path(const QString& relative) const;  // root + "/" + relative
    QStringList paths(const QStringList& relatives) const;
    QString folder(const QString& relative) const;  // creates it; path + "/"
    QString file(const QString& relative) const;    // creates it (and its folders) with a little text
    void link(const QString& target, const QString& relative) const;
    void setMode(const QString& relative, mode_t mode) const;
    void openAllFolders() const;  // mode 0755 on the root and every folder below it

    // Removes every write permission (chmod a-w) of any path.
    static void makeReadOnly(const QString& path);

  private:
    QString root_;
};

}  // namespace testsupport
