#include "sailfishapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QQuickView>

namespace SailfishApp {

QGuiApplication *application(int &argc, char **argv)
{
    return new QGuiApplication(argc, argv);
}

QQuickView *createView()
{
    auto *view = new QQuickView;
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->setTitle(QStringLiteral("Pellwick"));
    return view;
}

// The data directory lies at a fixed place relative to the executable, both when installed (bin/ and
// share/harbour-pellwick/ under one prefix) and in the build tree, which mirrors that layout, so an
// installed tree can be moved anywhere.
QUrl pathTo(const QString &relativePath)
{
    const QString dataDirectory =
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + QStringLiteral(PELLWICK_DATA_FROM_BINDIR);
    return QUrl::fromLocalFile(QDir::cleanPath(dataDirectory + QLatin1Char('/') + relativePath));
}

} // namespace SailfishApp
