#include "qmlimports.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

int skipSpaceAndComments(const QString &text, int pos)
{
    while (pos < text.size()) {
        if (text.at(pos).isSpace()) {
            ++pos;
        } else if (text.midRef(pos, 2) == QLatin1String("//")) {
            const int end = text.indexOf(QLatin1Char('\n'), pos);
            pos = end < 0 ? text.size() : end + 1;
        } else if (text.midRef(pos, 2) == QLatin1String("/*")) {
            const int end = text.indexOf(QLatin1String("*/"), pos + 2);
            pos = end < 0 ? text.size() : end + 2;
        } else {
            break;
        }
    }
    return pos;
}

bool keywordAt(const QString &text, int pos, const QString &keyword)
{
    const int after = pos + keyword.size();
    return text.midRef(pos, keyword.size()) == keyword && after < text.size()
        && (text.at(after).isSpace() || text.at(after) == QLatin1Char('"'));
}

// The end of the statement starting at pos: a line break or a semicolon outside quotes. A comment
// outside quotes also ends what belongs to the statement; resumeAt tells where the scan goes on.
int statementEnd(const QString &text, int pos, int *resumeAt)
{
    bool quoted = false;
    for (int i = pos; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char(';'))) {
            *resumeAt = i + 1;
            return i;
        } else if (!quoted
                   && (text.midRef(i, 2) == QLatin1String("//")
                       || text.midRef(i, 2) == QLatin1String("/*"))) {
            *resumeAt = i;
            return i;
        }
    }
    *resumeAt = text.size();
    return text.size();
}

// Imports and pragmas may only stand before the first object or statement, so the header ends at the
// first token that is neither.
QStringList headerImports(const QString &text, const QString &importKeyword, const QString &pragmaKeyword)
{
    QStringList imports;
    int pos = skipSpaceAndComments(text, 0);
    while (pos < text.size()) {
        const bool isImport = keywordAt(text, pos, importKeyword);
        if (!isImport && !keywordAt(text, pos, pragmaKeyword))
            break;
        const int start = pos + (isImport ? importKeyword : pragmaKeyword).size();
        int resumeAt = 0;
        const int end = statementEnd(text, start, &resumeAt);
        if (isImport)
            imports.append(text.mid(start, end - start).simplified());
        pos = skipSpaceAndComments(text, resumeAt);
    }
    return imports;
}

QStringList qmldirImports(const QString &text)
{
    static const QRegularExpression importLine(
        QStringLiteral("^\\s*(?:optional\\s+)?(?:import|depends)\\s+(.+)$"),
        QRegularExpression::MultilineOption);
    QStringList imports;
    auto matches = importLine.globalMatch(text);
    while (matches.hasNext())
        imports.append(matches.next().captured(1).simplified());
    return imports;
}

QString pathRefusal(const QString &path, const QDir &fileDirectory, const QDir &qmlRoot)
{
    if (path.contains(QLatin1Char(':')) || QDir::isAbsolutePath(path))
        return QStringLiteral("reaches outside the game's own files");
    const QString root = QDir::cleanPath(qmlRoot.absolutePath());
    const QString target = QDir::cleanPath(fileDirectory.absoluteFilePath(path));
    if (target != root && !target.startsWith(root + QLatin1Char('/')))
        return QStringLiteral("reaches outside the game's own files");
    if (!QFileInfo::exists(target))
        return QStringLiteral("names no file of the game");
    return QString();
}

// The modules the store allows, each at most at the version the phone's Qt 5.6 has.
QString moduleRefusal(const QString &module, const QString &version)
{
    struct Allowed
    {
        const char *module;
        int major;
        int newestMinor;
    };
    static const Allowed allowed[] = {
        { "QtQuick", 2, 6 },
        { "QtQuick.Window", 2, 2 },
        { "QtMultimedia", 5, 6 },
        { "harbour.pellwick", 1, 0 },
    };
    static const QRegularExpression versionPattern(QStringLiteral("^(\\d+)\\.(\\d+)$"));
    for (const Allowed &entry : allowed) {
        if (module != QLatin1String(entry.module))
            continue;
        const auto match = versionPattern.match(version);
        if (match.hasMatch() && match.captured(1).toInt() == entry.major
            && match.captured(2).toInt() <= entry.newestMinor)
            return QString();
        return QStringLiteral("needs a version from %1.0 to %1.%2").arg(entry.major).arg(entry.newestMinor);
    }
    return QStringLiteral("is a module the store does not allow");
}

} // namespace

QStringList importStatements(const QString &fileName, const QString &text)
{
    if (fileName == QLatin1String("qmldir"))
        return qmldirImports(text);
    if (fileName.endsWith(QLatin1String(".qml")))
        return headerImports(text, QStringLiteral("import"), QStringLiteral("pragma"));
    if (fileName.endsWith(QLatin1String(".js")))
        return headerImports(text, QStringLiteral(".import"), QStringLiteral(".pragma"));
    return {};
}

QString importRefusal(const QString &statement, const QDir &fileDirectory, const QDir &qmlRoot)
{
    if (statement.startsWith(QLatin1Char('"'))) {
        const int close = statement.indexOf(QLatin1Char('"'), 1);
        if (close < 0)
            return QStringLiteral("is not closed");
        return pathRefusal(statement.mid(1, close - 1), fileDirectory, qmlRoot);
    }
    const QStringList words = statement.split(QLatin1Char(' '));
    return moduleRefusal(words.value(0), words.value(1));
}
