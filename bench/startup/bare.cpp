// The reference for bench_startup: the least a Qt program does to put a frameless 1024 x 768
// window on the screen, linked against the same Qt and started the same way as NORDA.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(1024, 768);
    window.show();
    return app.exec();
}
