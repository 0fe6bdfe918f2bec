// The start-up benchmark's baseline: a Qt program that shows one plain top-level widget of the size
// given on its command line (width height) and runs until it is ended. Started the same way as the
// configuration program, its first paint is what any Qt window costs on this machine. With a third
// word "text" the window is a label showing one line of text instead: what a window's first text adds.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool withText = argc >= 4 && std::strcmp(argv[3], "text") == 0;
    const std::unique_ptr<QWidget> window =
        withText ? std::make_unique<QLabel>(QStringLiteral("Static colour")) : std::make_unique<QWidget>();
    if (argc >= 3) window->resize(std::atoi(argv[1]), std::atoi(argv[2]));
    window->show();
    return QApplication::exec();
}
