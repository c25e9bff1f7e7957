#include "tests/support/RemoveTree.h"

#include <QFile>
#include <filesystem>

namespace testsupport {

bool removeTree(const QString& folder) {
    namespace fs = std::filesystem;
    // Byte paths: some test folders have names that are not valid UTF-8.
    const fs::path root(QFile::encodeName(folder).toStdString());
    std::error_code ignored;
    if (!fs::exists(fs::symlink_status(root, ignored))) return true;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    // A locked folder is opened as it is met, before the iterator steps into it.
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root, ignored);
    return !fs::exists(fs::symlink_status(root, ignored));
}

}  // namespace testsupport
