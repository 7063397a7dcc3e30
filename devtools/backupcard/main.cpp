// backupcard: backs chosen trips of a card up into DEST_ROOT/NAME as the backup dialog does, without
// windows or questions (an existing backup folder is copied into, as after "OK").
#include "card/CardData.h"
#include "maintenance/BackupCopyJob.h"
#include "maintenance/BackupCopyPlan.h"
#include "maintenance/BackupFolderName.h"
#include "maintenance/BackupSpace.h"
#include "maintenance/BackupTree.h"
#include "maintenance/ManagementFiles.h"
#include "maintenance/VerifiedFileCopier.h"
#include "recording/FileUtil.h"
#include "recording/IOUtil.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {
int fail(const QString &text, int code = 1)
{
    std::fprintf(stderr, "backupcard: %s\n", qPrintable(text));
    return code;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Backs up the chosen trips of MOVE_PATH into DEST_ROOT/NAME. Exit status 0 "
        "only when every file was copied and verified.");
    parser.addHelpOption();
    parser.addPositionalArgument("MOVE_PATH", "the card's movie folder (or a backup folder)");
    parser.addPositionalArgument("DEST_ROOT", "the backup root");
    parser.addPositionalArgument("NAME", "the backup folder's name");
    QCommandLineOption all("all", "back up every trip");
    QCommandLineOption trips("trips", "trip indices in the card's trip list, e.g. 0,2", "list");
    parser.addOption(all);
    parser.addOption(trips);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 3 || parser.isSet(all) == parser.isSet(trips))
        parser.showHelp(2);

    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(QFileInfo(args[0]).absoluteFilePath()));
    BackupTree tree = BackupTree::build(card, nullptr);
    if (parser.isSet(all)) {
        tree.setAll(1);
    } else {
        for (const QString &part : parser.value(trips).split(u',')) {
            bool ok = false;
            const int idx = part.toInt(&ok);
            if (!ok || tree.rowOfTrip(idx) < 0)
                return fail(QStringLiteral("no trip %1 with chapters").arg(part), 2);
            tree.setTripState(idx, 1);
        }
    }

    const QString root = QFileInfo(args[1]).absoluteFilePath();
    // The dialog's backup root always exists; here it may be new.
    if (!QDir().mkpath(root))
        return fail(QStringLiteral("cannot make %1").arg(root));
    const QString name = args[2];
    const auto management =
        card._openSourcePath
            ? ManagementFiles::sizesIn(FileUtil::splitPath(*card._openSourcePath).first->toLocalFile())
            : std::array<std::int64_t, 3>{};
    const std::int64_t selection =
        BackupSpace::neededBytes(BackupSpace::fileSizes(tree, management), BackupSpace::blockSizeOf(root));
    if (const auto problem =
            BackupFolderName::check(name, tree.checkedCount(), IOUtil::getFreeSpace(root), selection))
        return fail(BackupFolderName::message(*problem));

    QString error;
    auto plan = BackupCopyPlan::make(card._openSourcePath, tree.checkedPaths(),
                                     FileUtil::appendPath(root, name), &error);
    if (!plan)
        return fail(error);
    VerifiedFileCopier copier;
    BackupCopyJob job(std::move(*plan), copier);
    const std::atomic<bool> cancel = false;
    const auto outcome = job.run(cancel, [](int copied, int total) {
        std::fprintf(stderr, "%d/%d %s\n", copied, total,
                     qPrintable(BackupCopyJob::percentText(copied * 100.0 / total)));
    });
    if (outcome.cancelled)
        return fail(outcome.detail.isEmpty() ? QStringLiteral("cancelled") : outcome.detail);
    return 0;
}
