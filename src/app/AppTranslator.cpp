#include "app/AppTranslator.h"

#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QTranslator>
#include <iterator>

QString AppTranslator::catalogueFor(int language)
{
    if (language <= 0 || language >= int(std::size(UserDefaultUtil::LANGUAGE_CODES)))
        return {};
    return QStringLiteral(":/i18n/orvalind_%1.qm")
        .arg(QLatin1String(UserDefaultUtil::LANGUAGE_CODES[language]));
}

std::unique_ptr<QTranslator> AppTranslator::install(int language)
{
    const QString path = catalogueFor(language);
    if (path.isEmpty())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}
