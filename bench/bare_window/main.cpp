// The toolkit's floor for the cost comparison: what any Qt Widgets program
// pays for a window of the panel's size, flags and place, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.setFixedSize(208, 294);
    window.move(810, 438);
    window.show();
    return QApplication::exec();
}
