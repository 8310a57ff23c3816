#include "languagesettings.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

namespace {

const QLatin1String kLanguageKey("ui/language");

QString settingsFilePath()
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(directory);
    return QDir(directory).filePath(QStringLiteral("language.ini"));
}

QString supportedSystemLanguage()
{
    return QLocale::system().language() == QLocale::Hungarian ? QStringLiteral("hu") : QStringLiteral("en");
}

} // namespace

LanguageSettings::LanguageSettings(QObject *parent)
    : QObject(parent)
    , m_settings(settingsFilePath(), QSettings::IniFormat)
{
    // Only a missing key falls back to the system; anything stored but unknown reads as English.
    m_currentLanguage =
        normalizeLanguage(m_settings.value(kLanguageKey, supportedSystemLanguage()).toString());
    m_startupLanguage = m_currentLanguage;
    m_settings.setValue(kLanguageKey, m_currentLanguage);
    m_settings.sync();
}

QString LanguageSettings::language() const
{
    return m_currentLanguage;
}

void LanguageSettings::setLanguage(const QString &value)
{
    const QString language = normalizeLanguage(value);
    if (language == m_currentLanguage)
        return;
    const bool restartWasRequired = restartRequired();
    m_currentLanguage = language;
    m_settings.setValue(kLanguageKey, m_currentLanguage);
    m_settings.sync();
    Q_EMIT languageChanged();
    if (restartRequired() != restartWasRequired)
        Q_EMIT restartRequiredChanged();
}

bool LanguageSettings::restartRequired() const
{
    return m_currentLanguage != m_startupLanguage;
}

QString LanguageSettings::normalizeLanguage(const QString &language)
{
    return language == QLatin1String("hu") ? QStringLiteral("hu") : QStringLiteral("en");
}
