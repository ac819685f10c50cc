// A print plugin as an older build of the program could leave it behind: a Qt plugin of
// the right kind for an earlier version of the print interface. The program must refuse
// it, never call it.
#include <QObject>
#include <QtPlugin>

class OldPrintInterface
{
public:
    virtual ~OldPrintInterface() = default;
    virtual int Print() = 0;
};
Q_DECLARE_INTERFACE(OldPrintInterface, "ru.zaryaj.Directory.PrintInterface/0.9")

class StalePrintPlugin final : public QObject, public OldPrintInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "ru.zaryaj.Directory.PrintInterface/0.9")
    Q_INTERFACES(OldPrintInterface)

public:
    int Print() override { return 1; }
};

#include "staleprintplugin.moc"
