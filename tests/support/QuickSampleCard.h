// The samplecard arguments of the small, quick card the suites use: the standard scenario with 4-second
// chapters and 64x48 movies, the card SampleScenario::standard() describes. Without them samplecard
// writes the camera-sized sample, which takes far longer.
#pragma once

#include <QStringList>

inline QStringList quickSampleCardArgs(const QString &outDir)
{
    return {QStringLiteral("--size"), QStringLiteral("64x48"), QStringLiteral("--duration"),
            QStringLiteral("4000"), outDir};
}
