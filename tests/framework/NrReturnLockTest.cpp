#include "NrReturnLock.h"
#include "DatabaseTest.h"
#include "NrBusyWait.h"
#include "NrExceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct RecordingWait : NrBusyWaitService
{
    void begin(const QString &text) override { said.append(text); }
    bool cancelled() override { return false; }
    QStringList said;
};

} // namespace

class ReturnLock : public DatabaseTest
{
protected:
    void SetUpOpened() override
    {
        // Another client of the same database that waits one second.
        NrConnectionSettings settings = installation().settings();
        settings.waitSeconds = 1;
        other.setSettings(settings);
        ASSERT_TRUE(other.OpenConnection());
    }

    // The lock of a return taken by the other client, or the text it was refused with.
    std::optional<QString> refusal(int year)
    {
        try {
            const TNrReturnLock lock(other, u"elh"_s, year, 0);
            return std::nullopt;
        } catch (const ENrError &e) {
            return e.message();
        }
    }

    TdmkbrConnessione other;
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(ReturnLock);

TEST_P(ReturnLock, ARunOnTheSameReturnWaitsThenIsRefusedUntilTheLockIsLetGo)
{
    RecordingWait wait;
    const BusyWaitScope scope(&wait);
    {
        const TNrReturnLock held(connection(), u"ELH"_s, 2023, 0);
        EXPECT_EQ(refusal(2023), u"Un'altra importazione è in corso su questa dichiarazione"_s);
        EXPECT_EQ(wait.said, QStringList{u"Un'altra importazione è in corso su questa dichiarazione: attendo al "
                                         "massimo 1 secondi…"_s});
        // Another return of the same program is free.
        EXPECT_EQ(refusal(2022), std::nullopt);
    }
    EXPECT_EQ(refusal(2023), std::nullopt);
}

TEST_P(ReturnLock, TheLockOfAClientThatDiesWithoutLettingGoIsFreed)
{
    if (GetParam() == Engine::SQLite) {
        // A process that holds the lock file and ends without a word.
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            new TNrReturnLock(other, u"elh"_s, 2023, 0);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
        // The server lets the lock go with the session.
        auto lock = std::make_unique<TNrReturnLock>(other, u"elh"_s, 2023, 0);
        other.CloseConnection();
    }
    EXPECT_NO_THROW(TNrReturnLock(connection(), u"elh"_s, 2023, 0));
}
