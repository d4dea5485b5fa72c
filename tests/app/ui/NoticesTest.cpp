// Notices and result pop-ups: their styles, what a written file shows, where the pop-up goes and that
// it hides itself.
#include <QLabel>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include "LanguageTable.h"
#include "Model_MsgHelper.h"
#include "Picture_label.h"
#include "Skin.h"
#include "Widget_Popup.h"

namespace {

QImage iconPicture(const char* name) {
    return QIcon(Skin::path(name, true, "svg")).pixmap(24).toImage();
}

QImage shownIcon(const Widget_Popup& popup) {
    return popup.findChild<QLabel*>("resultIcon")->pixmap(Qt::ReturnByValue).toImage();
}

// The href of the link label's anchor.
QString linkTarget(const QString& html) {
    const QRegularExpressionMatch match = QRegularExpression("href=\"([^\"]*)\"").match(html);
    QTextDocument decoded;
    decoded.setHtml(match.captured(1));
    return decoded.toPlainText();
}

}  // namespace

class NoticesTest : public QObject {
    Q_OBJECT

private slots:
    void resultStyles_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("red");
        QTest::addColumn<QString>("icon");
        QTest::newRow("success") << int(PopupStyle::Success) << false << "comm/success";
        QTest::newRow("failure") << int(PopupStyle::Failure) << true << "comm/failed";
        QTest::newRow("plain notice") << int(PopupStyle::Message) << false << "";
    }
    void resultStyles() {
        QFETCH(int, style);
        QFETCH(bool, red);
        QFETCH(QString, icon);
        Widget_Popup popup;
        popup.setContent("Snapshot saved", PopupStyle(style));
        QCOMPARE(popup.findChild<QLabel*>("message")->text(), QString("Snapshot saved"));
        QCOMPARE(popup.findChild<QLabel*>("message")->styleSheet().contains("#E43333"), red);
        QCOMPARE(popup.findChild<QFrame*>("bar")->styleSheet().contains("#E43333"), red);
        QLabel* iconLabel = popup.findChild<QLabel*>("resultIcon");
        QCOMPARE(iconLabel->isVisibleTo(&popup), !icon.isEmpty());
        if (!icon.isEmpty()) {
            QVERIFY(!shownIcon(popup).isNull());
            QCOMPARE(shownIcon(popup), iconPicture(qPrintable(icon)));
        }
        QCOMPARE(popup.size(), QSize(220, 165));
    }

    void placement_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040) << QPoint(1920 - 220 - 1, 1040 - 165);
        QTest::newRow("panel on the left and top")
            << QRect(64, 30, 1856, 1050) << QPoint(64 + 1856 - 221, 30 + 1050 - 165);
    }
    void placement() {
        QFETCH(QRect, available);
        QFETCH(QPoint, corner);
        QCOMPARE(Widget_Popup::placement(available, QSize(220, 165)), corner);
    }

    // A long path is cut at the right for display, but the link still carries the whole path.
    void fileLinkIsElidedButComplete() {
        const QString path = "/home/investigator/TarnPlayer/download/20261201/" + QString(60, 'x') + "/CH01_090000.mp4";
        Widget_Popup popup;
        popup.setContent("Exported file:", PopupStyle::Success, path);
        QLabel* link = popup.findChild<QLabel*>("link");
        QVERIFY(link->isVisibleTo(&popup));
        QCOMPARE(linkTarget(link->text()), path);
        QTextDocument shown;
        shown.setHtml(link->text());
        QVERIFY(shown.toPlainText().endsWith(QChar(0x2026)));
        QVERIFY(link->fontMetrics().horizontalAdvance(shown.toPlainText()) <= Widget_Popup::kLinkWidth);
        QVERIFY(path.startsWith(shown.toPlainText().chopped(1)));
    }

    void pathWithMarkupIsShownAsText() {
        const QString path = "/tmp/a\"b<i>c&d.mp4";
        Widget_Popup popup;
        popup.setContent("", PopupStyle::Success, path);
        QCOMPARE(linkTarget(popup.findChild<QLabel*>("link")->text()), path);
    }

    void pictureOfAWrittenSnapshot_data() {
        QTest::addColumn<bool>("isPicture");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("shown");
        QTest::newRow("snapshot written") << true << int(PopupStyle::Success) << true;
        QTest::newRow("snapshot failed") << true << int(PopupStyle::Failure) << false;
        QTest::newRow("video written") << false << int(PopupStyle::Success) << false;
    }
    void pictureOfAWrittenSnapshot() {
        QFETCH(bool, isPicture);
        QFETCH(int, style);
        QFETCH(bool, shown);
        QTemporaryDir dir;
        const QString path = dir.path() + (isPicture ? "/snap.png" : "/clip.mp4");
        if (isPicture) {
            QImage image(704, 576, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QVERIFY(image.save(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a picture");
        }
        Widget_Popup popup;
        popup.setContent("", PopupStyle(style), path);
        auto* picture = popup.findChild<Picture_label*>("picture");
        QCOMPARE(picture->isVisibleTo(&popup), shown);
        if (shown) {
            QVERIFY(picture->width() <= Widget_Popup::kWidth);
            QCOMPARE(qRound(picture->width() * 576.0 / 704), picture->height());
        }
    }

    void hidesItselfAfterItsDuration() {
        Widget_Popup popup;
        popup.setContent("No results", PopupStyle::Message);
        QSignalSpy hidden(&popup, &Widget_Popup::HideWidget);
        popup.showFor(50);
        QVERIFY(popup.isVisible());
        QVERIFY(hidden.wait(5000));
        QVERIFY(!popup.isVisible());
    }

    void helperPrefixesAndReplaces() {
        QTemporaryDir dir;
        QFile file(dir.path() + "/lang.xml");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "<l><string>Snapshot</string><string>1</string><string>2</string>"
            "<string>Recording file:</string><string>Exported file:</string></l>");
        file.close();
        QVERIFY(LanguageTable::load(file.fileName()));

        Model_MsgHelper& helper = Model_MsgHelper::instance();
        helper.showResult("written", true, 3000, 2);
        QPointer<Widget_Popup> first = helper.currentPopup();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->findChild<QLabel*>("message")->text(), QString("Recording file: written"));

        helper.showFileResult("/tmp/export.mp4", false, 3, 3000);
        QVERIFY(helper.currentPopup() != first);
        QVERIFY(!first || !first->isVisible());
        QCOMPARE(helper.currentPopup()->findChild<QLabel*>("message")->text(), QString("Exported file:"));
        QVERIFY(helper.currentPopup()->findChild<QLabel*>("link")->isVisibleTo(helper.currentPopup()));

        helper.showMessage("No results", 3000);
        QCOMPARE(helper.currentPopup()->findChild<QLabel*>("message")->text(), QString("No results"));
        QVERIFY(!helper.currentPopup()->findChild<QLabel*>("resultIcon")->isVisibleTo(helper.currentPopup()));
        LanguageTable::clear();
    }
};

QTEST_MAIN(NoticesTest)
#include "NoticesTest.moc"
