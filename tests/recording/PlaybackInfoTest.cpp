#include "recording/PlaybackInfo.h"
#include "recording/IniFile.h"
#include "recording/RecordingRead.h"
#include "recording/ShiftJisCodec.h"
#include "recording/VideoFrame.h"
#include "support/TempDir.h"

TEST(PlaybackInfoTest, LoadsShiftJisHeaderByTheIniRulesAndNothingFromOtherText)
{
    TempDir dir;
    for (const char *eol : {"\r\n", "\n", "\r"}) {
        const QString text = QString("[INFO]%1USER_CAR_CODE = 12345678  %1TITLE=走行=1%1").arg(eol);
        const QString path = dir.write("Playback.inf", *ShiftJisCodec::encode(text));
        PlaybackInfo p;
        p.load(path);
        EXPECT_EQ(p.userCarCode, "12345678") << eol;
        EXPECT_EQ(p.title, "走行=1");
        EXPECT_EQ(p.userDriverCode, "");
    }
    PlaybackInfo missing;
    missing.load(dir.filePath("none.inf"));
    EXPECT_EQ(missing.userCarCode, "");
    EXPECT_EQ(missing.title, "なし");

    IniFile ini;
    ini.loadText("KEY=before\n[ INFO ]\nA=1\n[INFO\n; note=x\n[INFO]\nB = "
                 "2\nB=3\n\u3000C\u3000=\t4\u3000\nnoequals\n[info]\nB=9");
    EXPECT_EQ(ini.map.value("KEY"), "before");
    EXPECT_EQ(ini.map.value("[ INFO ]A"), "1");
    EXPECT_EQ(ini.map.value("[ INFO ]; note"), "x"); // "[INFO" without "]" does not change the section
    EXPECT_EQ(ini.value("INFO", "B"), "3");
    EXPECT_EQ(ini.value("INFO", "C"), "4");
    EXPECT_EQ(ini.value("info", "B"), "9");
    EXPECT_EQ(errorOf([&] { ini.value("INFO", "A"); }),
              std::pair(-1, QString("指定されたキーが見つかりません: INFO A")));

    // UTF-8 Japanese is not valid CP932.
    const QString utf8 = dir.write("utf8.inf", QString("[INFO]\nTITLE=ドライブ€\n").toUtf8() + "\x80\xFF");
    IniFile kept;
    kept.map.insert("kept", "yes");
    kept.load(utf8);
    EXPECT_EQ(kept.map.size(), 1);
    EXPECT_FALSE(ShiftJisCodec::decode(QByteArray("\x82")));
    EXPECT_EQ(*ShiftJisCodec::decode(*ShiftJisCodec::encode(QString("テスト"))), "テスト");
}
