// The store of what the program keeps between runs, an INI file of the
// toolkit's. A store that cannot be read or written never stops the program.
#include <QSettings>

#include <memory>

#include "platform/qt/internal.h"

namespace platform::backend {

namespace {
std::unique_ptr<QSettings>& settings()
{
    static std::unique_ptr<QSettings> s;
    return s;
}
}  // namespace

void openStore(const std::string& path)
{
    if (path.empty())
        settings() = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kansu"),
                                                 QStringLiteral("kansu"));
    else
        settings() = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
}

void closeStore() { settings().reset(); }

std::optional<std::string> stored(const std::string& key)
{
    QSettings* s = settings().get();
    if (!s || s->status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = s->value(qt::q(key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void store(const std::string& key, const std::string& value)
{
    if (QSettings* s = settings().get()) {
        s->setValue(qt::q(key), qt::q(value));
        s->sync();  // a failure shows only in status(), which nothing needs
    }
}

}  // namespace platform::backend
