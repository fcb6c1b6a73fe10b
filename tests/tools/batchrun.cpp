// Running the batch tool.
#include "batchrun.h"

#include <QProcess>

namespace vlr::test {

BatchRun Batch(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(VLR_BATCH, arguments);
    BatchRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace vlr::test
