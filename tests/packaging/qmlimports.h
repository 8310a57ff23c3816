#ifndef PELLWICK_QMLIMPORTS_H
#define PELLWICK_QMLIMPORTS_H

#include <QDir>
#include <QString>
#include <QStringList>

// What the QML pages import, read the way the QML engine reads it, and whether the phone's store allows
// it: QtQuick 2.x, QtQuick.Window, QtQuick.Layouts, our own harbour.pellwick, and our own files.

// The import statements of one file under qml/, each as written after its keyword with spaces
// simplified ("QtQuick 2.6", "\"pages\"", "QtQuick.LocalStorage 2.0 as Sql"). QML documents and
// JavaScript files hold them in their header, a qmldir file on "import" and "depends" lines; other
// files import nothing.
QStringList importStatements(const QString &fileName, const QString &text);

// Why the store would refuse one import statement of a file in fileDirectory, or an empty string when
// it is allowed. A quoted path must name an existing file or folder inside qmlRoot.
QString importRefusal(const QString &statement, const QDir &fileDirectory, const QDir &qmlRoot);

#endif // PELLWICK_QMLIMPORTS_H
