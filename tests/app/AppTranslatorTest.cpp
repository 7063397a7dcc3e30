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
        const char *trip;   // the Google Earth export's own catalogue
    } rows[] = {
        {0, "&Quit", "Map", "Trip"},
        {1, "&Quitter", "Carte", "Trajet"},
        {2, "&Salir", "Mapa", "Trayecto"},
        {7, "&Quit", "Map", "Trip"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.language);
        const std::unique_ptr<QTranslator> translator = AppTranslator::install(row.language);
        EXPECT_EQ(translator != nullptr, row.language == 1 || row.language == 2);
        EXPECT_EQ(QCoreApplication::translate("MainMenu", "&Quit"), row.quit);
        EXPECT_EQ(QCoreApplication::translate("MapTitleView", "Map"), row.mapTab);
        EXPECT_EQ(QCoreApplication::translate("TripKmlBuilder", "Trip"), row.trip);
    }
}
