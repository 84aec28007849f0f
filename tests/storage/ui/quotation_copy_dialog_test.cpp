#include "base/file_io.h"
#include "storage/ui/quotation_copy_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <random>

namespace kerbina {
namespace {

using namespace std::chrono;

template <typename Widget> Widget* withText(QWidget& parent, const QString& text) {
    for (auto* widget : parent.findChildren<Widget*>()) {
        if (widget->text() == text) {
            return widget;
        }
    }
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

TEST(QuotationCopyDialog, ChoicesBecomeTheRequestAndTextsTheirHistories) {
    const auto temp = std::filesystem::temp_directory_path() /
                      ("kerbina-copy-dialog-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(temp);
    writeTextLines(temp / "copy2.lst", {"4月末", "5月末"});

    QuotationCopyDialog dialog({"MA", 7, 3}, temp, year{2026} / December / 10);
    EXPECT_EQ(dialog.windowTitle(), "見積複製");
    EXPECT_EQ(dialog.request().numbering, CopyNumbering::Automatic);

    withText<QRadioButton>(dialog, "見積番号の後ろに指定文字を追加する")->setChecked(true);
    const auto boxes = dialog.findChildren<QComboBox*>();
    ASSERT_EQ(boxes.size(), 4);
    EXPECT_EQ(boxes[1]->count(), 2); // the delivery-date history was read
    boxes[0]->setCurrentText("-再");
    boxes[1]->setCurrentText("5月末");
    withText<QCheckBox>(dialog, "納入期日(請求月)を書き換える")->setChecked(true);
    withText<QCheckBox>(dialog, "日付を書き換える")->setChecked(true);
    withText<QPushButton>(dialog, "実行")->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const CopyRequest request = dialog.request();
    EXPECT_EQ(request.numbering, CopyNumbering::Suffix);
    EXPECT_EQ(request.addedText, "-再");
    EXPECT_EQ(request.deliveryDate, std::optional<std::string>("5月末"));
    EXPECT_FALSE(request.validity);
    EXPECT_EQ(request.date, std::optional<year_month_day>(year{2026} / December / 10));
    EXPECT_EQ(request.sequence.header, "MA");
    EXPECT_EQ(request.sequence.next, 3);
    EXPECT_EQ(readTextLines(temp / "copy1.lst"), (std::vector<std::string>{"-再"}));
    EXPECT_EQ(readTextLines(temp / "copy2.lst"), (std::vector<std::string>{"5月末", "4月末"}));
    EXPECT_FALSE(std::filesystem::exists(temp / "copy3.lst"));
    std::filesystem::remove_all(temp);
}

} // namespace
} // namespace kerbina
