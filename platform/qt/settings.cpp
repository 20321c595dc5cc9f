// What the program keeps between runs: the zoom last chosen with the keys.
// A store that cannot be read or written never stops the program; it then
// starts at 100 %.
#include <QSettings>

#include <cmath>
#include <memory>

#include "platform/surface.h"
#include "platform/view.h"

namespace platform::settings {

namespace {
std::unique_ptr<QSettings>& store()
{
    static std::unique_ptr<QSettings> settings;
    return settings;
}
const QString kZoom = QStringLiteral("window/zoom");
}  // namespace

void open(const std::string& path)
{
    if (path.empty())
        store() = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kansu"),
                                              QStringLiteral("kansu"));
    else
        store() = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
}

void close() { store().reset(); }

double savedZoom()
{
    QSettings* s = store().get();
    if (!s || s->status() != QSettings::NoError)
        return 1;
    bool ok = false;
    const double z = s->value(kZoom).toDouble(&ok);
    return ok && std::isfinite(z) && z >= view::kMinZoom && z <= view::kMaxZoom ? z : 1;
}

void saveZoom(double z)
{
    if (QSettings* s = store().get()) {
        s->setValue(kZoom, z);
        s->sync();  // a failure shows only in status(), which nothing needs
    }
}

}  // namespace platform::settings
