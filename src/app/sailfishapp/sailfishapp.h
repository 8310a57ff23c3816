#ifndef PELLWICK_SAILFISHAPP_H
#define PELLWICK_SAILFISHAPP_H

#include <QString>
#include <QUrl>

class QGuiApplication;
class QQuickView;

// The three operations of the phone's application library, for builds where that library is absent
// (a desktop build). The phone SDK's own header of the same name takes this one's place there.
namespace SailfishApp {

QGuiApplication *application(int &argc, char **argv);
QQuickView *createView();
QUrl pathTo(const QString &relativePath);

} // namespace SailfishApp

#endif // PELLWICK_SAILFISHAPP_H
