#include "SettingTexts.h"

#include "widgets/LocalizedString.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

QString settingLabelText(const SettingLabel& label)
{
    const QString text = QString::fromUtf8(label.text);
    switch (label.kind) {
    case SettingLabel::Kind::Key:
        return localizedString(text);
    case SettingLabel::Kind::Text:
        return text;
    case SettingLabel::Kind::KeyWithNumber:
        return localizedString(text).replace(QStringLiteral("%d"), QString::number(label.number));
    case SettingLabel::Kind::TextWithKey:
        return QString(text).replace(QStringLiteral("%@"),
                                     localizedString(QString::fromUtf8(label.argumentKey)));
    }
    return text;
}

QStringList settingLabelTexts(std::span<const SettingLabel> labels)
{
    QStringList texts;
    for (const SettingLabel& label : labels)
        texts.append(settingLabelText(label));
    return texts;
}

QStringList settingChoiceTexts(std::span<const SettingChoice> choices)
{
    QStringList texts;
    for (const SettingChoice& choice : choices)
        texts.append(settingLabelText(choice.label));
    return texts;
}

namespace {

template <typename Widget, typename Getter, typename Setter>
void localize(QWidget* root, Getter get, Setter set)
{
    for (Widget* widget : root->findChildren<Widget*>()) {
        const QString text = localizedString((widget->*get)());
        if (!text.isEmpty())
            (widget->*set)(text);
    }
}

} // namespace

void localizeWidgetTexts(QWidget* root)
{
    localize<QGroupBox>(root, &QGroupBox::title, &QGroupBox::setTitle);
    localize<QLabel>(root, &QLabel::text, &QLabel::setText);
    localize<QAbstractButton>(root, &QAbstractButton::text, &QAbstractButton::setText);
}
