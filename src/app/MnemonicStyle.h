#pragma once

#include <QProxyStyle>

namespace plenvoy {

/// The program's look: its base style, with the buttons' mnemonic letters underlined only
/// while Alt is held, so that the captions read as they are written until the keyboard is
/// reached for.
class MnemonicStyle final : public QProxyStyle {
    Q_OBJECT

public:
    explicit MnemonicStyle(QStyle *base);

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    /// Whether the mnemonic letters are shown now.
    bool revealed() const { return m_revealed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reveal(bool shown);

    bool m_revealed = false;
};

} // namespace plenvoy
