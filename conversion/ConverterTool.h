#pragma once

#include <QByteArray>
#include <QString>

// Provisioning of the converter: which build suits the processor, where its file goes, and writing it.
namespace Main {

// "64" on a 64-bit processor (from the kernel's machine name), other text otherwise.
QString ProcessorAddressWidth();

// Yields to the event loop, then writes the bytes to a new file at `path` with its execute bit
// (mode 0700). An existing file (or link) is never replaced: the call then returns doing nothing.
// Throws platform::AppError (70, 75, 76, 61) when the file cannot be made.
void WriteBytesToFile(const QByteArray& bytes, const QString& path);

// The resource ":/CUSTOM/<id>": 101 the i386 converter, 102 the x86-64 converter.
// Throws platform::AppError 326 when there is no such resource.
QByteArray LoadCustomResource(int id);

// The converter file: $TEMP/nconvert.exe when TEMP is set; otherwise nconvert.exe in the user's
// runtime folder ($XDG_RUNTIME_DIR) when it is this user's alone; otherwise in a folder made
// afresh for it under the system temporary folder (mode 0700), which nobody can have made in
// advance. Throws platform::AppError 75 naming the folder when no such folder can be made.
QString ConverterFilePath();

// Removes the folder that ConverterFilePath made afresh for `converterFile`, once the file is
// gone; any other folder is left alone. Ignores every failure.
void RemoveConverterFolder(const QString& converterFile);

// True only for a regular file (not a link) that this user owns and nobody else can write.
// A converter file planted by another user in a shared folder must not be run.
bool IsTrustedConverterFile(const QString& path);

}  // namespace Main
