#ifndef PELLWICK_LANGUAGESETTINGS_H
#define PELLWICK_LANGUAGESETTINGS_H

#include <QObject>
#include <QSettings>
#include <QString>

// The player's choice of interface language, "en" or "hu", kept in its own small INI file. The
// translation is installed once at start-up, so a new choice shows only after a restart, which
// restartRequired tells the pages.
class LanguageSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(bool restartRequired READ restartRequired NOTIFY restartRequiredChanged)

public:
    explicit LanguageSettings(QObject *parent = nullptr);

    QString language() const;
    void setLanguage(const QString &value);
    bool restartRequired() const;

    static QString normalizeLanguage(const QString &language);

Q_SIGNALS:
    void languageChanged();
    void restartRequiredChanged();

private:
    QSettings m_settings;
    QString m_currentLanguage;
    QString m_startupLanguage;
};

#endif // PELLWICK_LANGUAGESETTINGS_H
