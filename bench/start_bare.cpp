// Yardsticks for start-up: an empty Qt window of the main window's size and, with the
// argument "label", the same window showing one line of text, which is what it costs any
// Qt program to start its font system. Timed through idle_report.cpp.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(500, 300);
    if (argc > 1 && qstrcmp(argv[1], "label") == 0)
        (new QLabel(QStringLiteral("Телефонный справочник"), &window))->move(8, 8);
    window.show();
    return QApplication::exec();
}
