#include "SettingTexts.h"

#include "widgets/LocalizedString.h"

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
