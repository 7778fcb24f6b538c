// The yardstick of the whole-application benchmark: an empty Qt Quick window, built like the
// application, reporting its first frame the way the application's probe does
// ("probe first-frame <unix time in ms>" on standard error). Runs until killed. With --controls
// the window is the controls' application window with an empty menu bar, as the application's
// own (the script asks for the application's Basic style): what the controls alone cost.

#include <cstdio>
#include <cstring>

#include <QDateTime>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

int main(int argc, char** argv) {
    const bool controls = argc > 1 && std::strcmp(argv[1], "--controls") == 0;
    QGuiApplication application(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData(controls ? "import QtQuick\nimport QtQuick.Controls\nApplicationWindow { width: 1280; height: 800; "
                               "visible: true; color: \"white\"; menuBar: MenuBar { Menu { title: \"Menu\" } } }"
                             : "import QtQuick\nWindow { width: 1280; height: 800; visible: true; color: \"white\" }");
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
