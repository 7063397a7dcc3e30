#include "app/AppTranslator.h"

#include "recording/UserDefaultUtil.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iterator>

namespace {

QString cataloguePath(const char *name, int language)
{
    if (language <= 0 || language >= int(std::size(UserDefaultUtil::LANGUAGE_CODES)))
        return {};
    return QStringLiteral(":/i18n/%1_%2.qm")
        .arg(QLatin1String(name), QLatin1String(UserDefaultUtil::LANGUAGE_CODES[language]));
}

} // namespace

QString AppTranslator::catalogueFor(int language)
{
    return cataloguePath("orvalind", language);
}

std::unique_ptr<QTranslator> AppTranslator::install(int language)
{
    const QString path = catalogueFor(language);
    if (path.isEmpty())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    // The Google Earth export's texts have a catalogue of their own; it is owned by the main one, whose
    // end removes both from the application.
    auto *exportTexts = new QTranslator(translator.get());
    if (exportTexts->load(cataloguePath("googleearth", language)))
        QCoreApplication::installTranslator(exportTexts);
    // Qt's own dialogs and standard buttons, from the catalogues the system's Qt installs; without them
    // a file dialog stays English.
    auto *qtTexts = new QTranslator(translator.get());
    if (qtTexts->load(
            QStringLiteral("qtbase_%1").arg(QLatin1String(UserDefaultUtil::LANGUAGE_CODES[language])),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    return translator;
}
