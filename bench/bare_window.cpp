// The toolkit's own start-up floor: a Qt window with one label and one
// button, nothing read and nothing arranged. The program is measured
// against it.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("An apple a day keeps the doctor away.")));
    auto *button = new QPushButton(QStringLiteral("OK"));
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &application, &QApplication::quit);
    window.show();
    return application.exec();
}
