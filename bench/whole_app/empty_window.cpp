// The yardstick of the whole-application benchmark: an empty Qt Quick window, built like the
// application, reporting its first frame the way the application's probe does
// ("probe first-frame <unix time in ms>" on standard error). Runs until killed.

#include <cstdio>

#include <QDateTime>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick\nWindow { width: 1280; height: 800; visible: true; color: \"white\" }");
    const QList<QObject*> roots = engine.rootObjects();
    auto* window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.constFirst());
    if (window == nullptr) return 1;
    bool framed = false;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&framed] {
        std::fprintf(stderr, "probe %s %lld\n", framed ? "frame" : "first-frame",
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        framed = true;
    }, Qt::DirectConnection);
    return QGuiApplication::exec();
}
