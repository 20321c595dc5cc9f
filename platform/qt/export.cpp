// Copy, save and print on Qt Widgets: pictures of the picture boxes drawn
// afresh at any scale from what their layers keep (the same pixels as the
// screen shows at that zoom, never a screen grab enlarged), the clipboard, the
// PNG file written whole or not at all, the page of the printer or the PDF
// file, the menu of a picture box, and the dialogs and messages they need.
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusFrame>
#include <QLocale>
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

#include "lang/texts.h"
#include "platform/picture.h"
#include "platform/qt/internal.h"
#include "platform/qt/picturebox.h"

namespace platform::qt {

namespace {

constexpr int kPdfDpi = 300;
constexpr int kMostDpi = 600;  // a finer printer gets the picture drawn at this resolution, enlarged

QString programTitle() { return q(exporting::programTitle()); }
QString trq(const char* japanese) { return q(lang::tr(japanese)); }

// Paints a box at scale s with its top left at `at` (device pixels): its
// drawing layer, its graphical controls and the windowed controls inside it,
// each drawn by itself at that scale.
void paintBox(QPainter& p, const PictureBox& box, QPoint at, double s)
{
    const QImage layer = renderLayer(box, s);
    p.save();
    p.translate(at);
    p.setClipRect(layer.rect());
    p.drawImage(QPoint(0, 0), layer);
    paintGraphics(p, box, layer.rect(), s);
    // The windowed controls are laid out at the window's zoom: a painter
    // scaled from there makes the toolkit draw them anew at s.
    QWidget* canvas = widgetOf(box);
    const double k = s / static_cast<const QtPictureBox&>(box).zoom();
    for (QWidget* child : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The keyboard's cursor and the selection are marks for the eye on
        // screen, not part of the lesson: they stay out of the picture.
        if (!child->isVisibleTo(canvas) || qobject_cast<QFocusFrame*>(child))
            continue;
        p.save();
        p.scale(k, k);
        child->render(&p, child->pos(), QRegion(), QWidget::DrawChildren);  // over the board, as on screen
        p.restore();
    }
    p.restore();
}

QWidget* windowOf(const exporting::Picture& p) { return frameOf(p.box ? *p.box : *p.board)->window(); }

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

// The lesson on the page that `p` paints on: as large as fits above a footer
// with the program's name and the date, on white paper.
void paintPage(QPainter& p, const QPaintDevice& device, const exporting::Picture& lesson)
{
    exporting::Picture onPaper = lesson;
    onPaper.back = exporting::kPaper;
    const view::Size size = exporting::arrange(onPaper).size;
    QFont font = programFont(Font{});
    font.setPointSizeF(10);
    p.setFont(font);
    const int line = p.fontMetrics().height();
    const QRect area(0, 0, device.width(), device.height());
    const double s = exporting::pageScale(size, {area.width(), area.height()}, line);
    const int dpi = device.logicalDpiX();
    const QImage image = picture(onPaper, dpi > kMostDpi ? s * kMostDpi / dpi : s);
    const QSize shown(toDevice(size.width, s), toDevice(size.height, s));
    p.setRenderHint(QPainter::LosslessImageRendering);  // a PDF would otherwise hold it as JPEG, smudged
    p.drawImage(QRect(QPoint((area.width() - shown.width()) / 2, 0), shown), image);
    const QRect footer(0, area.height() - line, area.width(), line);
    p.setPen(Qt::black);
    p.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, trq("３.１次関数　関数の利用"));
    p.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
               q(exporting::dateText()));
}

// The user's pictures or documents folder, else the home folder.
QString startFolder(QStandardPaths::StandardLocation where)
{
    const QString folder = QStandardPaths::writableLocation(where);
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace

QImage picture(const exporting::Picture& pic, double s)
{
    const exporting::Arrangement a = exporting::arrange(pic);
    QImage image(toDevice(a.size.width, s), toDevice(a.size.height, s), QImage::Format_RGB32);
    image.fill(toQColor(pic.back));
    {
        QPainter p(&image);
        for (const exporting::Spot& spot : a.spots)
            paintBox(p, *spot.box, QPoint(toDevice(spot.x, s), toDevice(spot.y, s)), s);
    }
    // A document places it at the layout's size: s pixels to 1/96 inch.
    const int perMetre = static_cast<int>(std::lround(96 * s / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    return image;
}

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

QString printLesson(const exporting::Picture& lesson, QPrinter& printer)
{
    QPainter p;
    if (printer.outputFormat() != QPrinter::PdfFormat) {
        if (!p.begin(&printer))
            return q(lang::tr("印刷できませんでした。\n\nプリンター「%1」を使えません。", {printer.printerName().toStdString()}));
        paintPage(p, printer, lesson);
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
        paintPage(p, pdf, lesson);
        p.end();
    }
    // errno left as it is: a write that failed while painting is the reason.
    if (!file.commit())
        return cannotWrite(what, path, file, errno);
    return {};
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
        [](QWidget* parent, const QString& text) {
            QMessageBox::warning(parent, programTitle(), breakable(text));
        }};
    return dialogs;
}

}  // namespace platform::qt

namespace platform::page {
// The desktop program is no page: it has no address to copy as a link.
std::string address() { return {}; }
}  // namespace platform::page

namespace platform::exporting {

using namespace platform::qt;

void popupMenu(const PictureBox& box, const std::vector<MenuEntry>& entries, float x, float y)
{
    QWidget* canvas = widgetOf(box);
    const double z = static_cast<const QtPictureBox&>(box).zoom();
    QMenu menu(canvas);
    menu.setFont(programFont(Font{10.5, false}, true, z));
    std::vector<QAction*> actions;
    for (const MenuEntry& e : entries)
        actions.push_back(menu.addAction(q(e.caption)));
    QAction* chosen = menu.exec(canvas->mapToGlobal(QPoint(static_cast<int>(std::lround(x * z)), static_cast<int>(std::lround(y * z)))));
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (actions[i] == chosen && entries[i].run)
            entries[i].run();
}

void copyText(const std::string& text) { QGuiApplication::clipboard()->setText(q(text)); }

void copyPicture(const Picture& p) { QGuiApplication::clipboard()->setImage(picture(p, exporting::kPictureScale)); }

void savePicture(const Picture& p)
{
    // The folder saved to last, for the next picture of this lesson.
    static QString folder;
    if (folder.isEmpty())
        folder = startFolder(QStandardPaths::PicturesLocation);
    QWidget* parent = windowOf(p);
    const QString path = exportDialogs().saveFileName(parent, QDir(folder).filePath(q(p.name) + QStringLiteral(".png")));
    if (path.isEmpty())
        return;
    const QString error = savePng(picture(p, exporting::kPictureScale), path);
    if (!error.isEmpty())
        exportDialogs().message(parent, error);
    else
        folder = QFileInfo(path).absolutePath();
}

void printLesson(const Picture& lesson)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(q(programTitle()));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    // With no printer installed the dialog offers a PDF file: name one.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(q(lesson.name) + QStringLiteral(".pdf")));
    }
    QWidget* parent = windowOf(lesson);
    if (!exportDialogs().choosePrinter(parent, printer))
        return;
    const QString error = qt::printLesson(lesson, printer);
    if (!error.isEmpty())
        exportDialogs().message(parent, error);
}

}  // namespace platform::exporting
