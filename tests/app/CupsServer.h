#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sys/stat.h>

// A print server of the test's own: `cupsd -f` with its configuration, spool and socket in a
// temporary folder, so a test needs no running service and two test programs never meet.
// Queues are added from PPD texts and print into files beside them. The process (every
// thread) reaches it through CUPS_SERVER; libcups reads that once per thread, so a program
// starts one server and keeps it to the end (see shared()).
class CupsServer
{
public:
    // The server of this test program, started on first use and stopped after the last test,
    // while the application object still exists.
    static CupsServer& shared()
    {
        static const bool stopsAtTheEnd = [] {
            ::testing::AddGlobalTestEnvironment(new StopAtTheEnd);
            return true;
        }();
        Q_UNUSED(stopsAtTheEnd);
        std::unique_ptr<CupsServer>& server = instance();
        if (!server) {
            server.reset(new CupsServer);
        }
        return *server;
    }

    bool isRunning() const { return m_cupsd.state() == QProcess::Running && m_ready; }
    const QString& whyNotRunning() const { return m_problem; }

    // A PostScript printer (CUPS's generic driver) printing into outputPath(name): a JPEG
    // reaches it through CUPS's image filters.
    bool addPostScriptQueue(const QString& name)
    {
        return lpadmin({QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                        QStringLiteral("file://") + outputPath(name), QStringLiteral("-m"),
                        QStringLiteral("drv:///sample.drv/generic.ppd")});
    }
    // The same printer taking plain text only: no filter turns a JPEG into text.
    bool addTextOnlyQueue(const QString& name)
    {
        QFile ppd(m_dir.filePath(QStringLiteral("conf/ppd/") + name + QStringLiteral(".ppd")));
        if (!addPostScriptQueue(name) || !ppd.open(QIODevice::ReadWrite | QIODevice::Append) ||
            ppd.write("*cupsFilter2: \"text/plain text/plain 0 -\"\n") <= 0) {
            return false;
        }
        ppd.close();
        return lpadmin({QStringLiteral("-p"), name, QStringLiteral("-P"), ppd.fileName()});
    }
    bool removeQueue(const QString& name) { return lpadmin({QStringLiteral("-x"), name}); }

    QString outputPath(const QString& name) const
    {
        return m_dir.filePath(QStringLiteral("out/") + name + QStringLiteral(".out"));
    }

    // The highest job id the server has given, 0 before the first. Ids are never reused, also
    // when a removed queue takes its jobs along.
    int lastJobId() const
    {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
        int last = 0;
        for (int i = 0; i < count; ++i) {
            last = std::max(last, jobs[i].id);
        }
        cupsFreeJobs(count, jobs);
        return last;
    }

    // A job attribute as the server states it ("A5", "true", "9"), empty when it has none.
    QString jobAttribute(int jobId, const char* name) const
    {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(jobId);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
        ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        QString value;
        if (ipp_attribute_t* attribute =
                response ? ippFindAttribute(response, name, IPP_TAG_ZERO) : nullptr) {
            char text[256];
            ippAttributeString(attribute, text, sizeof text);
            value = QString::fromUtf8(text);
        }
        ippDelete(response);
        return value;
    }

    ~CupsServer()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000)) {
                m_cupsd.kill();
                m_cupsd.waitForFinished(5000);
            }
        }
    }

private:
    static std::unique_ptr<CupsServer>& instance()
    {
        static std::unique_ptr<CupsServer> server;
        return server;
    }
    struct StopAtTheEnd : ::testing::Environment
    {
        void TearDown() override { instance().reset(); }
    };

    CupsServer()
    {
        const QString cupsd = QStandardPaths::findExecutable(
            QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        if (cupsd.isEmpty()) {
            m_problem = QStringLiteral("no cupsd (install the cups package)");
            return;
        }
        // The filters run as the "lp" user: they must reach the spool and scratch folders.
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        for (const char* folder : {"conf", "spool", "cache", "state", "log", "tmp", "out"}) {
            QDir(m_dir.path()).mkpath(QString::fromLatin1(folder));
        }
        ::chmod(QFile::encodeName(m_dir.filePath(QStringLiteral("tmp"))).constData(), 01777);
        const QString root = m_dir.path();
        writeText(QStringLiteral("conf/cups-files.conf"),
                  QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nTempDir %1/tmp\nAccessLog %1/log/access_log\n"
                                 "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                 "Printcap %1/printcap\nFileDevice Yes\n")
                      .arg(root));
        const QString socket = root + QStringLiteral("/cups.sock");
        writeText(QStringLiteral("conf/cupsd.conf"),
                  QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n")
                      .arg(socket));

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"),
                              root + QStringLiteral("/conf/cupsd.conf"), QStringLiteral("-s"),
                              root + QStringLiteral("/conf/cups-files.conf")});
        if (!m_cupsd.waitForStarted()) {
            m_problem = QStringLiteral("cupsd did not start: ") + m_cupsd.errorString();
            return;
        }
        qputenv("CUPS_SERVER", QFile::encodeName(socket));
        // This thread may have asked libcups before: it reads CUPS_SERVER again.
        cupsSetServer(nullptr);
        m_ready = QTest::qWaitFor(
            [&] {
                if (m_cupsd.state() != QProcess::Running) {
                    return true;
                }
                // Any answer will do: a new server has no printers to list.
                ipp_t* answer =
                    cupsDoRequest(CUPS_HTTP_DEFAULT, ippNewRequest(IPP_OP_CUPS_GET_PRINTERS), "/");
                ippDelete(answer);
                return answer != nullptr;
            },
            30000);
        m_ready = m_ready && m_cupsd.state() == QProcess::Running;
        if (!m_ready) {
            m_problem = QStringLiteral("cupsd did not answer: ") +
                        QString::fromLocal8Bit(m_cupsd.readAll()) + readText("log/error_log");
        }
    }

    bool lpadmin(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("lpadmin"), arguments);
        const bool ok = process.waitForFinished(60000) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok) {
            m_problem =
                QStringLiteral("lpadmin failed: ") + QString::fromLocal8Bit(process.readAll());
        }
        return ok;
    }

    void writeText(const QString& relative, const QString& text)
    {
        QFile file(m_dir.filePath(relative));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text.toUtf8());
        }
    }
    QString readText(const QString& relative) const
    {
        QFile file(m_dir.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    bool m_ready = false;
    QString m_problem;
};
