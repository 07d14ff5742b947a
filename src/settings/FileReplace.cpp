#include "settings/FileReplace.h"

#include <QSaveFile>

QString replaceFileContents(const QString& path, const QByteArray& bytes,
                            const FileByteWriter& writer)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    const qint64 written = writer ? writer(file, bytes.constData(), bytes.size())
                                  : file.write(bytes.constData(), bytes.size());
    if (written != bytes.size()) {
        const QString reason =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("short write: %1 of %2 bytes").arg(written).arg(bytes.size());
        file.cancelWriting(); // the temporary file goes with `file`; the target is untouched
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
