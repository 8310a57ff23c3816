#ifndef PELLWICK_LANGUAGEFILE_H
#define PELLWICK_LANGUAGEFILE_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>

// The game's language file under a throwaway configuration home, and the environment in which a child
// process of the game sees a given system locale and that home.
namespace LanguageFile {

inline QString path(const QString &configHome)
{
    return configHome + QStringLiteral("/vexil/harbour-pellwick/language.ini");
}

inline bool write(const QString &configHome, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path(configHome)).path());
    QFile file(path(configHome));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// A file choosing `language`, written as the game writes it.
inline bool choose(const QString &configHome, const QByteArray &language)
{
    return write(configHome, "[ui]\nlanguage=" + language + '\n');
}

inline QString stored(const QString &configHome)
{
    return QSettings(path(configHome), QSettings::IniFormat).value(QStringLiteral("ui/language")).toString();
}

inline QProcessEnvironment environmentUnder(const QString &locale, const QString &configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "LANG", "LANGUAGE", "LC_MESSAGES", "LC_NUMERIC" })
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return environment;
}

} // namespace LanguageFile

#endif // PELLWICK_LANGUAGEFILE_H
