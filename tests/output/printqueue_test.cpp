// The whole road of a print job: a private print server with a PDF printer is started in a
// scratch folder, a sheet of ten business cards goes to it through the platform's printer
// interface, and the PDF the printer writes must have the design's paper and carry the design
// at all ten card positions. The server is stopped by its process id afterwards.
//
// Needs root (the PDF printer reads its settings only from /etc/cups) and the packages cups,
// printer-driver-cups-pdf and poppler-utils; without them the test is skipped with a message.
#include "output/printsheet.h"

#include "pdfcheck.h"
#include "sheetfixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {
namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kPdfDriver = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A print server of its own: configuration, spool and output in a scratch folder, listening only
// on a socket there.
class PrivatePrintServer {
public:
    ~PrivatePrintServer() { Stop(); }

    // Why the server cannot run on this machine; empty when it can.
    static QString Missing() {
        if (::geteuid() != 0) {
            return "the PDF printer reads its settings from /etc/cups, which needs root";
        }
        for (const char* file : {kCupsd, kPdfBackend, kPdfDriver}) {
            if (!QFileInfo::exists(file)) {
                return QString("%1 is missing (packages cups and printer-driver-cups-pdf)").arg(file);
            }
        }
        if (QStandardPaths::findExecutable("lpadmin").isEmpty() || !test::HavePdfTools()) {
            return "lpadmin, pdfinfo or pdftocairo is missing (packages cups and poppler-utils)";
        }
        return {};
    }

    // Starts the server and adds the PDF printer; the reason of a failure, empty on success.
    QString Start() {
        if (!root_.isValid()) {
            return "no scratch folder";
        }
        root = root_.path();
        queue = QString("velloran-test-%1").arg(QCoreApplication::applicationPid());
        socket = root + "/cups.sock";
        output = root + "/pdf-out";
        for (const char* folder :
             {"etc/ppd", "spool/tmp", "state", "cache", "tmp", "log", "pdf-out", "cpdf-spool"}) {
            QDir(root).mkpath(folder);
        }
        // The filters run as the user lp: they walk through the scratch folder and use the spool.
        const struct group* lp = ::getgrnam("lp");
        const gid_t lpGroup = lp ? lp->gr_gid : 0;
        bool owned = ::chmod(root.toLocal8Bit(), 0755) == 0;
        for (const char* folder : {"spool", "tmp", "cache"}) {
            owned = owned && ::chown((root + "/" + folder).toLocal8Bit(), 0, lpGroup) == 0;
        }
        owned = owned && ::chmod((root + "/spool").toLocal8Bit(), 0710) == 0 &&
                ::chmod((root + "/tmp").toLocal8Bit(), 01770) == 0 &&
                ::chmod(output.toLocal8Bit(), 01777) == 0;
        if (!owned) {
            return "cannot set the scratch folder's owners and modes";
        }
        const QString files =
            QString("SystemGroup root\nServerRoot %1/etc\nRequestRoot %1/spool\nStateDir %1/state\n"
                    "CacheDir %1/cache\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                    "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n")
                .arg(root);
        const QString server =
            QString("LogLevel info\nListen %1\nBrowsing No\nWebInterface No\n"
                    "DefaultAuthType None\n<Location />\nOrder allow,deny\nAllow localhost\n"
                    "</Location>\n<Policy default>\n<Limit All>\nOrder deny,allow\n"
                    "</Limit>\n</Policy>\n")
                .arg(socket);
        pdfSettings_ = QString("/etc/cups/cups-pdf-%1.conf").arg(queue);
        const QString pdf =
            QString("Out %1\nAnonDirName %1\nSpool %2/cpdf-spool\nLog %2/log\nGrp root\n").arg(output, root);
        if (!WriteText(root + "/cups-files.conf", files) || !WriteText(root + "/cupsd.conf", server) ||
            !WriteText(pdfSettings_, pdf)) {
            return "cannot write the server's settings";
        }

        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        cupsd_.start(kCupsd, {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        if (!cupsd_.waitForStarted(10000)) {
            return "cupsd does not start: " + cupsd_.errorString();
        }
        const QDeadlineTimer deadline(20000);
        while (!QFileInfo::exists(socket)) {
            if (deadline.hasExpired() || cupsd_.state() != QProcess::Running) {
                return "cupsd did not open its socket: " + ReadText(root + "/log/error_log");
            }
            QThread::msleep(50);
        }
        // The printer interface of this process, lpadmin and the filters all find the server here.
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        QProcess admin;
        admin.setProcessChannelMode(QProcess::MergedChannels);
        admin.start("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", kPdfDriver});
        if (!admin.waitForFinished(30000) || admin.exitCode() != 0) {
            return "lpadmin failed: " + QString::fromLocal8Bit(admin.readAll());
        }
        return {};
    }

    // The first PDF the printer writes for a job whose title starts with title (the printer
    // names its files after the titles), once complete; empty after the timeout.
    QString WaitForPdf(int milliseconds, const QString& title) const {
        const QDeadlineTimer deadline(milliseconds);
        qint64 lastSize = -1;
        while (!deadline.hasExpired()) {
            const QFileInfoList found = QDir(output).entryInfoList({title + "*.pdf"}, QDir::Files);
            if (!found.isEmpty()) {
                const qint64 size = found.first().size();
                if (size > 0 && size == lastSize) {
                    return found.first().absoluteFilePath();
                }
                lastSize = size;
            }
            QThread::msleep(250);
        }
        return {};
    }

    QString Log() const { return ReadText(root + "/log/error_log"); }

    // Ends the server by its process id and removes the printer's settings from /etc/cups.
    void Stop() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate(); // SIGTERM to the server's process id
            if (!cupsd_.waitForFinished(15000)) {
                cupsd_.kill();
                cupsd_.waitForFinished(5000);
            }
        }
        if (!pdfSettings_.isEmpty()) {
            QFile::remove(pdfSettings_);
            pdfSettings_.clear();
        }
    }

    QString root, queue, socket, output;

private:
    QTemporaryDir root_{QDir::tempPath() + "/velloran-cups-XXXXXX"};
    QProcess cupsd_;
    QString pdfSettings_;
};

// One server for the test program: the platform's printer interface finds its server once.
class PrintQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        missing_ = PrivatePrintServer::Missing();
        if (missing_.isEmpty()) {
            server_ = new PrivatePrintServer;
            failure_ = server_->Start();
        }
    }
    static void TearDownTestSuite() {
        delete server_; // stops the server by its process id
        server_ = nullptr;
    }
    void SetUp() override {
        if (!missing_.isEmpty()) {
            GTEST_SKIP() << "no private print server: " << missing_.toStdString();
        }
        ASSERT_TRUE(failure_.isEmpty()) << failure_.toStdString();
    }
    // Prints the design on the queue at 150 dpi with the design's paper as a job of the title;
    // the PDF the printer writes, or empty.
    static QString PrintOnQueue(ItemList& design, const QString& title) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(server_->queue);
        EXPECT_FALSE(info.isNull()) << "the printer interface does not list " << server_->queue.toStdString();
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setResolution(150);
        UseDesignPaper(printer, design);
        PrintResult result = PrintSheet(printer, design, title, "");
        EXPECT_TRUE(result.ok()) << result.message.toStdString();
        const QString pdf = result.ok() ? server_->WaitForPdf(90000, title.section(' ', 0, 0)) : QString();
        EXPECT_FALSE(pdf.isEmpty()) << "the printer wrote no PDF; server log:\n"
                                    << server_->Log().toStdString();
        return pdf;
    }
    static inline PrivatePrintServer* server_ = nullptr;
    static inline QString missing_, failure_;
};

TEST_F(PrintQueue, TenBusinessCardsReachThePdfPrinterOfAPrivatePrintServer) {
    // "Business Cards, 10 per page" on letter paper (cards of 336 x 192 design pixels without gaps);
    // the design is a box half an inch inside the card's edges.
    ItemList design;
    test::AddHeader(design, test::TenUpLetter());
    test::AddFilledRectangle(design, 48, 48, 288, 144, test::kRed);
    const QString pdf = PrintOnQueue(design, "Ten cards");
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(test::PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");
    // At 20 dpi the cards are 70 x 40 pixels from (15, 10), each with its box from 10 pixels in.
    // The printer draws the page again, so colours are compared loosely.
    const QImage page = test::RenderPdf(pdf, 20);
    ASSERT_EQ(page.size(), QSize(170, 220));
    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
    auto white = [](QRgb c) { return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230; };
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            const int left = 15 + column * 70, top = 10 + row * 40;
            SCOPED_TRACE(testing::Message() << "card " << row + 1 << ", " << column + 1);
            EXPECT_TRUE(red(page.pixel(left + 35, top + 20)));
            EXPECT_TRUE(red(page.pixel(left + 12, top + 12)));
            EXPECT_TRUE(red(page.pixel(left + 57, top + 27)));
            EXPECT_TRUE(white(page.pixel(left + 7, top + 20)));
            EXPECT_TRUE(white(page.pixel(left + 35, top + 7)));
            EXPECT_TRUE(white(page.pixel(left + 63, top + 33)));
        }
    }
    EXPECT_TRUE(white(page.pixel(7, 100)));   // the left margin
    EXPECT_TRUE(white(page.pixel(162, 100))); // the right margin
    EXPECT_TRUE(white(page.pixel(85, 215)));  // below the last row
}

// A design on letter paper lying on its side reaches the queue as landscape Letter: the printer
// gets the letter paper it holds, upright (612 x 792 points, not turned by the page's rotation),
// with the design turned a quarter onto it the way printers print landscape pages - the design's
// top left at the paper's bottom left. (Offered as an upright custom paper eleven inches wide,
// the job came out on a page 792 points wide that no tray holds.)
TEST_F(PrintQueue, ALandscapeLetterDesignReachesTheQueueAsLandscapeLetter) {
    ItemList design;
    test::AddHeader(design, {.units = 3, .type = 1, .orientation = 2, .paperWidth = 11, .paperHeight = 8.5});
    // Two inches by one, an inch from the paper's left and top edges.
    test::AddFilledRectangle(design, 96, 96, 288, 192, test::kRed);
    const QString pdf = PrintOnQueue(design, "Landscape");
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_EQ(test::PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");
    EXPECT_EQ(test::PdfInfo(pdf, "Page rot"), "0");
    // At 20 dpi the upright page is 170 x 220; the design's point (x, y) lies at (y, 219 - x), so
    // the box from (20, 20) to (60, 40) lies from (20, 160) to (40, 200).
    const QImage page = test::RenderPdf(pdf, 20);
    ASSERT_EQ(page.size(), QSize(170, 220));
    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
    auto white = [](QRgb c) { return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230; };
    EXPECT_TRUE(red(page.pixel(30, 180)));
    EXPECT_TRUE(red(page.pixel(23, 163)));
    EXPECT_TRUE(red(page.pixel(37, 197)));
    EXPECT_TRUE(white(page.pixel(30, 150))); // right of the box on the design
    EXPECT_TRUE(white(page.pixel(45, 180))); // below it
    EXPECT_TRUE(white(page.pixel(15, 180))); // above it
    EXPECT_TRUE(white(page.pixel(30, 205))); // left of it
}

} // namespace
} // namespace vlr
