#include "app/application.h"
#include "app/error_box.h"
#include "app/shell.h"
#include "report/UFQRSTSCAD.h"
#include "store/UDM1.h"
#include "store/app_dir.h"
#include "ui/editor/UFMFSCAD.h"
#include "ui/info/UFMINFO.h"
#include "ui/main/UFFMAIN.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

// An object whose handler fails, as a handler of the program may.
class FailingObject : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Cannot open file \"x\". Permission denied");
        return QObject::event(e);
    }
};

}  // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetErrorBoxHandler({}); }

    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Stream write error"
                                << "Stream write error.";
        QTest::newRow("full stop") << "Fine."
                                   << "Fine.";
        QTest::newRow("parenthesis") << "Errore (5)"
                                     << "Errore (5)";
        QTest::newRow("exclamation") << "Errore!"
                                     << "Errore!";
        QTest::newRow("slash comes after the full stop") << "C:/"
                                                         << "C:/.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxText(message), shown);
    }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "/opt/velistra/Velistra"
                               << "Velistra";
        QTest::newRow("capitals and extension") << "C:/Prog/VELISTRA.EXE"
                                                << "Velistra";
        QTest::newRow("up to the first dot, first letter as it is") << "/x/my.App.exe"
                                                                    << "my";
    }
    void applicationTitle()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(ApplicationTitle(path), title);
    }

    void errorsEscapingAHandlerGoToTheErrorBox()
    {
        QStringList shown;
        SetErrorBoxHandler([&shown](const QString &text) { shown << text; });
        FailingObject object;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&object, &event);
        QCOMPARE(shown, QStringList{"Cannot open file \"x\". Permission denied."});
    }

    void windowsGoInReverseOrderAndTheSaveIsLast()
    {
        QTemporaryDir dir;
        const QString dataFile = dir.filePath("Te02data.dat");
        QStringList log;
        {
            Shell shell(dir.filePath("Velistra").toStdString());
            QCOMPARE(QString::fromStdString(AppDir), dir.path() + "/");
            QVERIFY(DM1 && FFMAIN && FMFSCAD && FFQRSTSCAD && FFINFO);
            QVERIFY(!QFile::exists(dataFile));
            const std::pair<QObject *, QString> windows[] = {{FFMAIN, "FFMAIN"},
                                                             {FMFSCAD, "FMFSCAD"},
                                                             {FFQRSTSCAD, "FFQRSTSCAD"},
                                                             {FFINFO, "FFINFO"}};
            for (const auto &[window, name] : windows) {
                QObject::connect(window, &QObject::destroyed, [&log, name, dataFile] {
                    log << name + (QFile::exists(dataFile) ? " after save" : "");
                });
            }
        }
        QCOMPARE(log, (QStringList{"FFINFO", "FFQRSTSCAD", "FMFSCAD", "FFMAIN"}));
        QVERIFY(QFile::exists(dataFile));
        QVERIFY(!DM1 && !FFMAIN && !FFINFO);
    }

    void anUnreadableDataFileShowsOneBoxAndStartUpGoesOn()
    {
        QTemporaryDir dir;
        const QString dataFile = dir.filePath("Te02data.dat");
        {
            QFile f(dataFile);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("ditta\r\nACME\r\n");
        }
        const int holder = ::open(dataFile.toLocal8Bit().constData(), O_RDONLY);
        QCOMPARE(::flock(holder, LOCK_EX), 0);
        QStringList shown;
        SetErrorBoxHandler([&shown](const QString &text) { shown << text; });
        {
            Shell shell(dir.filePath("Velistra").toStdString());
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].startsWith("Cannot open file \"" + dataFile + "\". "),
                     qPrintable(shown[0]));
            QVERIFY(FFMAIN);
            QCOMPARE(DM1->ScadData.recordCount(), std::size_t(0));
        }
        ::close(holder);
        QCOMPARE(shown.size(), 1);
        QFile f(dataFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("ditta\r\nACME\r\n"));
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
