// The start-up benchmark's baseline: a Qt program that shows one plain top-level widget of the size
// given on its command line (width height) and runs until it is ended. Started the same way as the
// configuration program, its first paint is what any Qt window costs on this machine.
#include <QApplication>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    if (argc >= 3) window.resize(std::atoi(argv[1]), std::atoi(argv[2]));
    window.show();
    return QApplication::exec();
}
