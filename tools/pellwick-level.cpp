#include "levelfile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstring>

using namespace Pellwick;

namespace {

bool load(const QString &path, LevelSpec *level, FILE *errors)
{
    LevelError error;
    if (readLevelFile(path, level, &error))
        return true;
    if (error.line > 0)
        std::fprintf(errors, "%s:%d: %s\n", qPrintable(path), error.line, qPrintable(error.message));
    else
        std::fprintf(errors, "%s: %s\n", qPrintable(path), qPrintable(error.message));
    return false;
}

bool check(const QString &path)
{
    LevelSpec level;
    if (!load(path, &level, stdout))
        return false;
    std::printf("%s: ok\n", qPrintable(path));
    return true;
}

QByteArray sourceText(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    QByteArray escaped = text.toUtf8();
    escaped.replace('\\', "\\\\").replace('"', "\\\"");
    return "QT_TRANSLATE_NOOP(\"GameCanvas\", \"" + escaped + "\")\n";
}

// The English names and briefings of the built-in levels as a source that lupdate reads, so that they are
// translated in the game's catalogue with its other texts.
bool printTexts(const QString &path)
{
    LevelSpec level;
    if (!load(path, &level, stderr))
        return false;
    std::printf("%s%s", sourceText(level.name).constData(), sourceText(level.briefing).constData());
    return true;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: pellwick-level check FILE...\n"
                 "       pellwick-level texts FILE... > leveltexts.cpp\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return usage();
    const bool texts = std::strcmp(argv[1], "texts") == 0;
    if (!texts && std::strcmp(argv[1], "check") != 0)
        return usage();
    if (texts)
        std::printf("// The texts of the level files, written by pellwick-level texts for lupdate.\n");
    bool allGood = true;
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        allGood = (texts ? printTexts(path) : check(path)) && allGood;
    }
    return allGood ? 0 : 1;
}
