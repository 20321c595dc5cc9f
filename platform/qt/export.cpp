// Copy, save and print on Qt Widgets: the clipboard, the PNG file written
// whole or not at all, the page of the printer or the PDF file, the menu of a
// picture box, and the dialogs and messages they need. The pictures are the
// shell's.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "lang/texts.h"
#include "platform/picture.h"
#include "platform/qt/internal.h"
#include "platform/shell/shell.h"

namespace platform {

namespace qt {

namespace {

constexpr int kPdfDpi = 300;
constexpr int kMostDpi = 600;  // a finer printer gets the picture drawn at this resolution, enlarged

QString trq(const char* japanese) { return q(lang::tr(japanese)); }
QString programTitle() { return q(exporting::programTitle()); }

// What failed, the file and why, for a file that could not be written:
// why from what is there (a folder of that name, no folder, a file that may
// not be changed) and from `error`, the system's error number of the call
// that failed; the system's own words only where no reason of ours fits.
QString cannotWrite(const QString& what, const QString& path, const QFileDevice& file, int error)
{
    const QFileInfo info(path);
    QString reason;
    if (info.isDir())
        reason = trq("同じ名前のフォルダがあります");
    else if (error == ENAMETOOLONG)
        reason = trq("ファイルの名前が長すぎます");
    else if (!info.dir().exists())
        reason = trq("保存先のフォルダがありません");
    else if (error == ENOSPC || error == EDQUOT)
        reason = trq("ディスクがいっぱいです");
    else if (info.exists() && !info.isWritable())
        reason = trq("このファイルは書き換えが許されていません");
    else if (file.error() == QFileDevice::OpenError || error == EACCES || error == EPERM || error == EROFS)
        reason = trq("このフォルダにはファイルを作れません");
    else
        // TRANSLATORS: %1 is the system's own reason, in its words.
        reason = q(lang::tr("書き込めませんでした（%1）", {(error != 0 ? qt_error_string(error) : file.errorString()).toStdString()}));
    return QStringLiteral("%1\n\n%2\n\n%3").arg(what, QDir::toNativeSeparators(path), reason);
}

// The text with places where a line may break after every folder of a path
// and inside any long run without one, so that a message box wraps a long
// path rather than growing to the width of the screen and cutting it off.
QString breakable(const QString& text)
{
    constexpr int kLongest = 24;  // characters without a place to break
    QString out;
    int run = 0;
    for (const QChar c : text) {
        out += c;
        if (c.isSpace() || c == u'/' || c == u'\\' || c.unicode() >= 0x3000) {
            if (c == u'/' || c == u'\\')
                out += QChar(0x200B);  // zero-width space: a break, nothing shown
            run = 0;
        } else if (++run == kLongest) {
            out += QChar(0x200B);
            run = 0;
        }
    }
    return out;
}

// Writes the image as PNG to a temporary file that is renamed to `path` when
// complete. Empty when it worked, else the message for the user: what failed,
// the file and why; nothing is left behind.
QString savePng(const QImage& image, const QString& path)
{
    const QString what = trq("画像を保存できませんでした。");
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(what, path, file, errno);
    errno = 0;
    if (!image.save(&file, "PNG")) {
        const QString message = cannotWrite(what, path, file, errno);
        file.cancelWriting();
        return message;
    }
    errno = 0;
    if (!file.commit())
        return cannotWrite(what, path, file, errno);
    return {};
}

// The lesson on the page that `p` paints on: as large as fits above a footer
// with the program's name and the date.
void paintPage(QPainter& p, const QPaintDevice& device, const backend::PrintJob& job)
{
    QFont font = programFont(Font{});
    font.setPointSizeF(10);
    p.setFont(font);
    const int line = p.fontMetrics().height();
    const QRect area(0, 0, device.width(), device.height());
    const double s = exporting::pageScale(job.size, {area.width(), area.height()}, line);
    const int dpi = device.logicalDpiX();
    auto picture = job.draw(dpi > kMostDpi ? s * kMostDpi / dpi : s);
    const QImage image = static_cast<QtPicture&>(*picture).finished(96);
    const QSize shown(toDevice(job.size.width, s), toDevice(job.size.height, s));
    p.setRenderHint(QPainter::LosslessImageRendering);  // a PDF would otherwise hold it as JPEG, smudged
    p.drawImage(QRect(QPoint((area.width() - shown.width()) / 2, 0), shown), image);
    const QRect footer(0, area.height() - line, area.width(), line);
    p.setPen(Qt::black);
    p.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, q(job.footerLeft));
    p.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, q(job.footerRight));
}

// Prints on the printer chosen, or writes the PDF file as savePng writes.
// Empty when it worked, else the message.
QString printOn(const backend::PrintJob& job, QPrinter& printer)
{
    QPainter p;
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        if (!p.begin(&printer))
            return q(lang::tr("印刷できませんでした。\n\nプリンター「%1」を使えません。", {printer.printerName().toStdString()}));
        paintPage(p, printer, job);
        return {};
    }
    // A PDF file, like a picture, appears whole or not at all.
    const QString what = trq("PDF ファイルを保存できませんでした。"), path = printer.outputFileName();
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(what, path, file, errno);
    {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(kPdfDpi);
        pdf.setTitle(printer.docName());
        pdf.setCreator(programTitle());
        if (!p.begin(&pdf)) {
            const int error = errno;
            file.cancelWriting();
            return cannotWrite(what, path, file, error);
        }
        paintPage(p, pdf, job);
        p.end();
    }
    // errno left as it is: a write that failed while painting is the reason.
    if (!file.commit())
        return cannotWrite(what, path, file, errno);
    return {};
}

// The user's pictures or documents folder, else the home folder.
QString startFolder(QStandardPaths::StandardLocation where)
{
    const QString folder = QStandardPaths::writableLocation(where);
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace

QImage picture(const exporting::Picture& p, double scale)
{
    return static_cast<QtPicture&>(*shell::compose(p, scale)).finished(static_cast<int>(std::lround(96 * scale)));
}

ExportDialogs& exportDialogs()
{
    static ExportDialogs dialogs{
        [](QWidget* parent, const QString& suggested) {
            QFileDialog dialog(parent, trq("画像として保存"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilter(trq("PNG 画像 (*.png)"));
            dialog.setDefaultSuffix(QStringLiteral("png"));
            dialog.selectFile(suggested);
            return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
        },
        [](QWidget* parent, QPrinter& printer) {
            QPrintDialog dialog(&printer, parent);
            dialog.setWindowTitle(trq("印刷"));
            dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
            return dialog.exec() == QDialog::Accepted;
        },
        [](QWidget* parent, const QString& text) { QMessageBox::warning(parent, programTitle(), breakable(text)); }};
    return dialogs;
}

}  // namespace qt

namespace backend {

using namespace qt;

void copyText(const std::string& text) { QGuiApplication::clipboard()->setText(q(text)); }

void copyPicture(const Picture& picture)
{
    auto& p = const_cast<QtPicture&>(static_cast<const QtPicture&>(picture));
    QGuiApplication::clipboard()->setImage(p.finished(static_cast<int>(std::lround(96 * exporting::kPictureScale))));
}

void savePicture(Native window, const Picture& picture, const std::string& name, int dotsPerInch)
{
    // The folder saved to last, for the next picture of this lesson.
    static QString folder;
    if (folder.isEmpty())
        folder = startFolder(QStandardPaths::PicturesLocation);
    QWidget* parent = widget(window);
    const QString path = exportDialogs().saveFileName(parent, QDir(folder).filePath(q(name) + QStringLiteral(".png")));
    if (path.isEmpty())
        return;
    auto& p = const_cast<QtPicture&>(static_cast<const QtPicture&>(picture));
    const QString error = savePng(p.finished(dotsPerInch), path);
    if (!error.isEmpty())
        exportDialogs().message(parent, error);
    else
        folder = QFileInfo(path).absolutePath();
}

void print(const PrintJob& job, bool now)
{
    if (!now)
        return;  // the desktop prints only when asked to
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(programTitle());
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    // With no printer installed the dialog offers a PDF file: name one.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(q(job.name) + QStringLiteral(".pdf")));
    }
    QWidget* parent = widget(job.window);
    if (!exportDialogs().choosePrinter(parent, printer))
        return;
    const QString error = printOn(job, printer);
    if (!error.isEmpty())
        exportDialogs().message(parent, error);
}

void popupMenu(Native box, const std::vector<std::string>& captions, int x, int y)
{
    auto* frame = widget<BoxFrame>(box);
    QMenu menu(frame->canvas);
    menu.setFont(programFont(Font{10.5, false}, true, frame->zoom));
    std::vector<QAction*> actions;
    for (const std::string& caption : captions)
        actions.push_back(menu.addAction(q(caption)));
    QAction* chosen = menu.exec(frame->canvas->mapToGlobal(QPoint(x, y)));
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (actions[i] == chosen)
            shell::menuChosen(static_cast<int>(i));
}

// A line on standard error; once the window is on screen, a message in it too.
void notice(const std::string& text, bool)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), text.c_str());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<WindowWidget*>(w) && w->isVisible()) {
            exportDialogs().message(w, q(text));
            return;
        }
}

void fatal(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QMessageBox::critical(nullptr, QString(), q(what));
    std::exit(1);
}

// The desktop program is no page: it has no address to copy as a link.
std::string address() { return {}; }

}  // namespace backend

}  // namespace platform
