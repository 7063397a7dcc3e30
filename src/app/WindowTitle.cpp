#include "app/WindowTitle.h"

QString WindowTitle::text(CommonConst::PlayType playType, const std::optional<QString> &moviePath,
                          bool playerActive)
{
    if (!playerActive || !moviePath)
        return CommonConst::FMT_FORM_TITLE_DEFAULT;
    const QString &kind = playType == CommonConst::PlayType::Movie ? CommonConst::FMT_FORM_TITLE_MOVIE()
                                                                   : CommonConst::FMT_FORM_TITLE_EVENT();
    return QStringLiteral("%1 %2 - %3").arg(kind, *moviePath, CommonConst::FMT_FORM_TITLE_DEFAULT);
}
