#include "app/AppTranslator.h"

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(AppTranslatorTest, TheLanguageSettingPicksTheBuiltInCatalogue)
{
    struct Row
    {
        int language;
        const char *quit;   // the File menu's item
        const char *mapTab; // the map panel's title bar
    } rows[] = {
        {0, "&Quit", "Map"},
        {1, "&Quitter", "Carte"},
        {2, "&Salir", "Mapa"},
        {7, "&Quit", "Map"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(row.language);
        EXPECT_EQ(translator != nullptr, row.language == 1 || row.language == 2);
        EXPECT_EQ(QCoreApplication::translate("MainMenu", "&Quit"), row.quit);
        EXPECT_EQ(QCoreApplication::translate("MapTitleView", "Map"), row.mapTab);
    }
}
