#pragma once

#include <QByteArray>
#include <QString>

namespace Main {

// One document's share of the converter file. Every copy of the program writes and runs the same
// nconvert.exe in the temporary folder, so a copy that ends must not take the file away from one
// still converting. Each document holds the file (a shared lock on it) from writing it to its end,
// and only the last holder removes it. A killed copy lets go of its hold with its last descriptor.
class ConverterFileHold {
  public:
    ConverterFileHold() = default;
    ~ConverterFileHold();  // lets go, removes nothing
    ConverterFileHold(const ConverterFileHold&) = delete;
    ConverterFileHold& operator=(const ConverterFileHold&) = delete;

    // Writes the converter file when it is missing (WriteBytesToFile) and holds it. A file that
    // another copy removes between the write and the hold is written again. A file that cannot be
    // opened (not ours, a link) is not held. Throws what WriteBytesToFile throws.
    void writeAndHold(const QByteArray& bytes, const QString& path);

    // Lets go of the file and removes it unless another document still holds it. A file that was
    // never held is removed as before. Ignores every failure.
    void releaseAndRemove();

    bool held() const { return fd_ >= 0; }

  private:
    enum class Taken { Held, Gone, NotHeld };
    Taken take();
    void letGo();

    QString path_;
    int fd_ = -1;
};

}  // namespace Main
