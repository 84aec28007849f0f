#pragma once

#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace kerbina {

// Number fields that take what a Japanese input method types: full-width digits and signs
// (０-９, ．, －, ＋) become their ASCII forms as they are typed, so a number typed in full-width
// mode is a number, not a keystroke the field throws away.

class TypedNumberValidator : public QRegularExpressionValidator {
public:
    TypedNumberValidator(const QRegularExpression& pattern, QObject* parent);
    State validate(QString& input, int& position) const override;
};

class TypedNumberSpinBox : public QSpinBox {
public:
    explicit TypedNumberSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& position) const override;
};

} // namespace kerbina
