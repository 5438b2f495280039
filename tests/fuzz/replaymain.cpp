// Runs every input of the given files and folders through a fuzz target once,
// as libFuzzer would run a crash file: the regression inputs and the seed
// corpus kept in the tree replay in the normal test suite.

#include "fuzztarget.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << arg;
        }
    }
    files.sort();
    int ran = 0;
    for (const QString &path : qAsConst(files)) {
        if (QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "input %s (%d bytes)\n", qPrintable(path), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        ++ran;
    }
    std::fprintf(stderr, "%d inputs ran\n", ran);
    return ran > 0 ? 0 : 1;
}
