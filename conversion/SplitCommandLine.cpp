#include "conversion/Shell32.h"

namespace Shell32 {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// A run of backslashes at `i`: halved before a quote, which an odd run escapes; kept as they are
// anywhere else.
void readBackslashes(const QString& commandLine, qsizetype& i, QString& argument) {
    const qsizetype n = commandLine.size();
    qsizetype backslashes = 0;
    while (i < n && commandLine[i] == u'\\') {
        ++backslashes;
        ++i;
    }
    if (i < n && commandLine[i] == u'"') {
        argument += QString(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) argument += commandLine[i++];  // an escaped quote
    } else {
        argument += QString(backslashes, u'\\');
    }
}

// One argument from `i` on, to the first blank outside quotes; `i` ends past it.
QString readArgument(const QString& commandLine, qsizetype& i) {
    const qsizetype n = commandLine.size();
    QString argument;
    bool quoted = false;
    while (i < n && (quoted || !isBlank(commandLine[i]))) {
        const QChar c = commandLine[i];
        if (c == u'\\') {
            readBackslashes(commandLine, i, argument);
        } else if (c != u'"') {
            argument += c;
            ++i;
        } else if (quoted && i + 1 < n && commandLine[i + 1] == u'"') {
            argument += u'"';  // a doubled quote inside quotes is one quote, and ends them
            quoted = false;
            i += 2;
        } else {
            quoted = !quoted;
            ++i;
        }
    }
    return argument;
}

}  // namespace

QStringList SplitCommandLine(const QString& commandLine) {
    QStringList result;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;
    while (i < n && isBlank(commandLine[i])) ++i;
    if (i >= n) return result;

    // The program name knows no escapes: a quoted name runs to the next quote.
    QString program;
    if (commandLine[i] == u'"') {
        ++i;
        while (i < n && commandLine[i] != u'"') program += commandLine[i++];
        if (i < n) ++i;
    } else {
        while (i < n && !isBlank(commandLine[i])) program += commandLine[i++];
    }
    result << program;

    for (;;) {
        while (i < n && isBlank(commandLine[i])) ++i;
        if (i >= n) break;
        result << readArgument(commandLine, i);
    }
    return result;
}

}  // namespace Shell32

namespace Shell32 {

QString QuoteArgument(const QString& argument) {
    QString quoted(QLatin1Char('"'));
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"') {
            quoted += QString(2 * backslashes + 1, u'\\');
        } else {
            quoted += QString(backslashes, u'\\');
        }
        quoted += c;
        backslashes = 0;
    }
    quoted += QString(2 * backslashes, u'\\');
    quoted += QLatin1Char('"');
    return quoted;
}

}  // namespace Shell32
