#include <QTest>
#include "platform/helpers.h"
class TstHelpers : public QObject { Q_OBJECT
private slots:
  void smoke() { QCOMPARE(platform::Str(0.5), std::string(" .5")); }
};
QTEST_APPLESS_MAIN(TstHelpers)
#include "tst_helpers.moc"
