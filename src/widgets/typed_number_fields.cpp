#include "widgets/typed_number_fields.h"

#include "base/text.h"

namespace kerbina {
namespace {

// The field's text with the full-width digits and signs in their ASCII forms; each is one UTF-16
// unit either way, so the cursor stays where it was.
void makeAscii(QString& input) {
    input = QString::fromStdString(asciiNumberText(input.toStdString()));
}

} // namespace

TypedNumberValidator::TypedNumberValidator(const QRegularExpression& pattern, QObject* parent)
    : QRegularExpressionValidator(pattern, parent) {}

QValidator::State TypedNumberValidator::validate(QString& input, int& position) const {
    makeAscii(input);
    return QRegularExpressionValidator::validate(input, position);
}

TypedNumberSpinBox::TypedNumberSpinBox(QWidget* parent) : QSpinBox(parent) {}

QValidator::State TypedNumberSpinBox::validate(QString& input, int& position) const {
    makeAscii(input);
    return QSpinBox::validate(input, position);
}

} // namespace kerbina
