// The migration preview: the real run, a user's side that accepts every proposal and
// records what each dialog showed, and a phonebook that keeps the writes in memory.
#include "kit/KitPreview.h"

#include <cstring>
#include <string>
#include <vector>

#include "kit/KitFolder.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "kit/PreviewPhonebook.h"
#include "kit/QuietSides.h"
#include "migrate/MigrationContext.h"
#include "migrate/MigrationMessages.h"
#include "settings/DataFiles.h"

namespace {

struct ShownMessage {
    std::string text;  // UTF-8
    MessageIcon icon;
};

class PreviewUser : public UserSide {
public:
    void ShowProgramMessage(const Message& m, MessageIcon icon) override { Record(m, icon); }
    void ShowAppMessage(const Message& m, MessageIcon icon) override { Record(m, icon); }
    bool AskProgramQuestion(const Message& m) override {
        Record(m, MessageIcon::Question);
        return true;
    }
    std::vector<ShownMessage> pending;  // since the last entry was told

private:
    void Record(const Message& m, MessageIcon icon) {
        pending.push_back(ShownMessage{ProgramText(m), icon});
    }
};

struct Proposal {
    bool accessPoint = true;
    AccessPointChangeFields change;  // as the access-point change dialog showed them
    UserNameChangeFields userName;   // as the user-name change dialog showed them
    std::string userNameBefore;      // code page 932
    std::string userNameAfter;       // as written; empty when nothing was written
    size_t writesBefore = 0;         // credential writes of the run before the dialog
    bool finished = false;
};

struct EntryOutcome {
    std::string name;
    ExaminationStop stop = ExaminationStop::EntryGone;
    bool tableHit = false;
    AccessPointTableKind table = AccessPointTableKind::General;
    std::string why;  // UTF-8: why nothing (or not everything) was proposed
    std::vector<Proposal> proposals;
    std::vector<ShownMessage> messages;
};

// What an entry holds, read through the binding by a context of its own.
struct EntryFacts {
    std::string deviceType;
    std::string areaCode;  // empty when the entry does not use country and area codes
    std::string number;    // as the dialogs show an old number
    std::string localNumber;
    std::string userName;
};

const char* TableFile(AccessPointTableKind kind) {
    switch (kind) {
        case AccessPointTableKind::General:
            return kGeneralTableFile;
        case AccessPointTableKind::Phs:
            return kPhsTableFile;
        case AccessPointTableKind::Pair:
            return kPairTableFile;
    }
    return kGeneralTableFile;
}

const char* StopCode(ExaminationStop stop) {
    switch (stop) {
        case ExaminationStop::Examined:
            return "examined";
        case ExaminationStop::EntryGone:
            return "entry-gone";
        case ExaminationStop::PropertiesUnreadable:
            return "properties-unreadable";
        case ExaminationStop::OtherDeviceType:
            return "other-device-type";
        case ExaminationStop::CredentialsUnreadable:
            return "credentials-unreadable";
        case ExaminationStop::OtherUserPrefix:
            return "other-user-prefix";
    }
    return "examined";
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return "warning";
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Question:
            return "question";
    }
    return "information";
}

class PreviewUi : public MigrationUi {
public:
    PreviewUi(const DataFiles& files, PreviewPhonebook& book, PreviewUser& user, OsClass osClass)
        : book_(book), user_(user), inspector_(files, book.Api(), quiet_, quietUi_, osClass) {}

    void Attach(const MigrationContext* run) { run_ = run; }

    bool ConfirmAccessPointChange(AccessPointChangeFields& fields) override {
        FinishProposal();
        Proposal p;
        p.change = fields;
        p.userNameBefore = before_.userName;
        p.writesBefore = book_.CredentialWrites();
        pending_.push_back(p);
        return true;
    }

    bool ConfirmUserNameChange(UserNameChangeFields& fields) override {
        FinishProposal();
        Proposal p;
        p.accessPoint = false;
        p.userName = fields;
        p.userNameBefore = std::string(fields.oldUserName) + fields.oldDomain;
        p.writesBefore = book_.CredentialWrites();
        pending_.push_back(p);
        return true;
    }

    // Like the program's own run, with a progress window: the final message is the one
    // the window shows.
    bool HasProgressWindow() const override { return true; }
    void MigrationStart(unsigned) override {}
    void MigrationStep(unsigned) override {}
    void MigrationEntry(const char* entryName) override { before_ = Read(entryName); }
    void MigrationFinished(int changedCount, int foundCount) override {
        user_.ShowAppMessage(FinalMigrationMessage(changedCount, foundCount),
                             MessageIcon::Information);
    }

    void EntryExamined(const EntryExamination& e) override {
        FinishProposal();
        EntryOutcome outcome;
        outcome.name = e.entryName != nullptr ? e.entryName : "";
        outcome.stop = e.stop;
        outcome.tableHit = e.tableHit;
        outcome.table = e.table;
        outcome.proposals.swap(pending_);
        outcome.messages.swap(user_.pending);
        outcome.why = Why(e, outcome.proposals);
        entries.push_back(outcome);
    }

    std::vector<EntryOutcome> entries;

private:
    EntryFacts Read(const char* name) {
        EntryFacts facts;
        if (inspector_.ReadEntryProperties(name) == 0) {
            const RASENTRYA* entry = inspector_.EntryProperties();
            facts.deviceType.assign(entry->szDeviceType,
                                    strnlen(entry->szDeviceType, sizeof(entry->szDeviceType)));
            facts.localNumber.assign(
                entry->szLocalPhoneNumber,
                strnlen(entry->szLocalPhoneNumber, sizeof(entry->szLocalPhoneNumber)));
            facts.number = facts.localNumber;
            if (entry->dwfOptions & RASEO_UseCountryAndAreaCodes) {
                facts.areaCode.assign(entry->szAreaCode,
                                      strnlen(entry->szAreaCode, sizeof(entry->szAreaCode)));
                facts.number = facts.areaCode + "-" + facts.localNumber;
            }
            inspector_.ReleaseEntryProperties();
        }
        char userName[kUserNameSize];
        char password[kPasswordSize];
        inspector_.ReadCredentials(name, nullptr, userName, password);
        WipeBytes(password, sizeof(password));
        inspector_.ReleaseCredentials();
        facts.userName = userName;
        return facts;
    }

    // The proposal answered last has been written, or refused, by now.
    void FinishProposal() {
        if (pending_.empty() || pending_.back().finished) {
            return;
        }
        Proposal& p = pending_.back();
        p.finished = true;
        const char* name = p.accessPoint ? p.change.entryName : p.userName.entryName;
        const PreviewPhonebook::Written* written = book_.WrittenFor(name);
        if (written != nullptr && book_.CredentialWrites() > p.writesBefore) {
            p.userNameAfter = written->userName;
        }
    }

    std::string Why(const EntryExamination& e, const std::vector<Proposal>& proposals) const {
        switch (e.stop) {
            case ExaminationStop::EntryGone:
                return "the entry is gone";
            case ExaminationStop::PropertiesUnreadable:
                return Format("its properties cannot be read (error %lu)",
                              static_cast<unsigned long>(e.error));
            case ExaminationStop::OtherDeviceType:
                return "its device type " + Quoted(before_.deviceType) + " is not \"modem\"";
            case ExaminationStop::CredentialsUnreadable:
                return Format("its user name and password cannot be read (error %lu)",
                              static_cast<unsigned long>(e.error));
            case ExaminationStop::OtherUserPrefix:
                return "its user name " + Quoted(before_.userName) +
                       " does not start with UserPrefix " + Quoted(run_->UserPrefix);
            case ExaminationStop::Examined:
                break;
        }
        const EntryFacts& facts = before_;
        std::string why;
        if (!e.tableHit) {
            if (!e.fletsIsdnProposed) {
                why = "its number " + Quoted(facts.number) + " is in no access-point table";
            }
        } else if (!e.domainPassed) {
            const char* required = e.table == AccessPointTableKind::General ? "OldDialupDomain"
                                   : e.table == AccessPointTableKind::Phs   ? "OldMobileDomain"
                                                                            : "OldAirHDomain";
            const char* value = e.table == AccessPointTableKind::General ? run_->OldDialupDomain
                                : e.table == AccessPointTableKind::Phs   ? run_->OldMobileDomain
                                                                         : run_->OldAirHDomain;
            why = std::string(TableFile(e.table)) + " has its number, but its user name " +
                  Quoted(facts.userName) + " does not have the domain " + required + " " +
                  Quoted(value);
        }
        if (!e.fletsIsdnProposed &&
            run_->IsFletsIsdnNumber(facts.areaCode.c_str(), facts.localNumber.c_str())) {
            const bool off = run_->OldDomain[0] == '\0' || run_->FletsIsdnDomain[0] == '\0' ||
                             EqualsNoCase(run_->OldDomain, run_->FletsIsdnDomain);
            bool changedFirst = false;
            for (const Proposal& p : proposals) {
                changedFirst = changedFirst || (p.accessPoint && !p.userNameAfter.empty());
            }
            why += std::string(why.empty() ? "" : "; ") + "it dials the Flets ISDN number " +
                   Quoted(run_->DefaultFletsIsdnNumber) +
                   (off            ? ", but the Flets ISDN user-name change is off (OldDomain and "
                                     "FletsIsdnDomain must both be set and differ)"
                    : changedFirst ? ", but the user-name change is decided on the entry as the "
                                     "access-point change leaves it, and does not apply there"
                                   : ", but its user name " + Quoted(facts.userName) +
                                         " does not have OldDomain " + Quoted(run_->OldDomain));
        }
        if (why.empty() && proposals.empty()) {
            why = "nothing to change";
        }
        return why;
    }

    PreviewPhonebook& book_;
    PreviewUser& user_;
    QuietUser quiet_;
    DecliningMigrationUi quietUi_;
    MigrationContext inspector_;  // reads entries for the explanations, never writes
    const MigrationContext* run_ = nullptr;
    EntryFacts before_;  // the entry under examination, as it was before any write
    std::vector<Proposal> pending_;
};

std::string J(const std::string& cp932) {
    return JsonString(Show(cp932));
}

void WriteJson(FILE* out, const std::vector<EntryOutcome>& entries,
               const std::vector<ShownMessage>& messages) {
    const auto writeMessages = [&](const std::vector<ShownMessage>& list) {
        fprintf(out, "[");
        for (size_t i = 0; i < list.size(); ++i) {
            fprintf(out, "%s{\"text\": %s, \"icon\": \"%s\"}", i ? ", " : "",
                    JsonString(list[i].text).c_str(), IconName(list[i].icon));
        }
        fprintf(out, "]");
    };
    fprintf(out, "{\"entries\": [");
    for (size_t i = 0; i < entries.size(); ++i) {
        const EntryOutcome& e = entries[i];
        fprintf(out,
                "%s\n  {\"name\": %s, \"stop\": \"%s\", \"table\": %s, \"why\": %s, "
                "\"proposals\": [",
                i ? "," : "", J(e.name).c_str(), StopCode(e.stop),
                e.tableHit ? JsonString(TableFile(e.table)).c_str() : "null",
                JsonString(e.why).c_str());
        for (size_t k = 0; k < e.proposals.size(); ++k) {
            const Proposal& p = e.proposals[k];
            if (p.accessPoint) {
                fprintf(out,
                        "%s\n    {\"kind\": \"access-point\", \"entryName\": %s, \"oldNumber\": "
                        "%s, \"newNumber\": %s, \"userName\": %s, \"domain\": %s, ",
                        k ? "," : "", J(p.change.entryName).c_str(), J(p.change.oldNumber).c_str(),
                        J(p.change.newNumber).c_str(), J(p.change.userName).c_str(),
                        J(p.change.domain).c_str());
            } else {
                fprintf(out,
                        "%s\n    {\"kind\": \"flets-isdn\", \"entryName\": %s, \"phoneNumber\": "
                        "%s, \"oldUserName\": %s, \"oldDomain\": %s, \"newUserName\": %s, "
                        "\"newDomain\": %s, ",
                        k ? "," : "", J(p.userName.entryName).c_str(),
                        J(p.userName.phoneNumber).c_str(), J(p.userName.oldUserName).c_str(),
                        J(p.userName.oldDomain).c_str(), J(p.userName.newUserName).c_str(),
                        J(p.userName.newDomain).c_str());
            }
            fprintf(out, "\"userNameBefore\": %s, \"userNameAfter\": %s}",
                    J(p.userNameBefore).c_str(),
                    p.userNameAfter.empty() ? "null" : J(p.userNameAfter).c_str());
        }
        fprintf(out, "], \"messages\": ");
        writeMessages(e.messages);
        fprintf(out, "}");
    }
    fprintf(out, "\n], \"messages\": ");
    writeMessages(messages);
    fprintf(out, "}\n");
}

void WriteText(FILE* out, const std::vector<EntryOutcome>& entries,
               const std::vector<ShownMessage>& messages) {
    const auto writeMessages = [&](const std::vector<ShownMessage>& list, const char* lead) {
        for (const ShownMessage& m : list) {
            fprintf(out, "%s (%s): %s\n", lead, IconName(m.icon), JsonString(m.text).c_str());
        }
    };
    for (const EntryOutcome& e : entries) {
        const std::string name = "[" + Show(e.name) + "]";
        if (e.proposals.empty()) {
            fprintf(out, "%s passed over: %s\n", name.c_str(), e.why.c_str());
        }
        for (const Proposal& p : e.proposals) {
            if (p.accessPoint) {
                fprintf(out, "%s access-point change (the old access point is in %s)\n",
                        name.c_str(), TableFile(e.table));
                fprintf(out, "    number:    %s -> %s\n", Quoted(p.change.oldNumber).c_str(),
                        Quoted(p.change.newNumber).c_str());
            } else {
                fprintf(out, "%s Flets ISDN user-name change (it dials %s)\n", name.c_str(),
                        Quoted(p.userName.phoneNumber).c_str());
            }
            fprintf(out, "    user name: %s -> %s\n", Quoted(p.userNameBefore).c_str(),
                    p.userNameAfter.empty() ? "(not written)" : Quoted(p.userNameAfter).c_str());
        }
        if (!e.proposals.empty() && !e.why.empty()) {
            fprintf(out, "    not proposed: %s\n", e.why.c_str());
        }
        writeMessages(e.messages, "    the program shows");
    }
    writeMessages(messages, "final message");
}

}  // namespace

int PreviewMigration(KitFolder& folder, PreviewPhonebook& phonebook, const PreviewOptions& options,
                     FILE* out) {
    PreviewUser user;
    PreviewUi ui(folder, phonebook, user, options.osClass);
    MigrationContext run(folder, phonebook.Api(), user, ui, options.osClass);
    ui.Attach(&run);
    run.RunMigration();
    // What is shown after the last entry, or instead of any, ends the run.
    const std::vector<ShownMessage> messages = user.pending;
    if (options.json) {
        WriteJson(out, ui.entries, messages);
    } else {
        WriteText(out, ui.entries, messages);
    }
    bool failed = false;
    for (const EntryOutcome& e : ui.entries) {
        for (const ShownMessage& m : e.messages) {
            failed = failed || m.icon == MessageIcon::Warning;
        }
    }
    for (const ShownMessage& m : messages) {
        failed = failed || m.icon == MessageIcon::Warning;
    }
    return failed ? 1 : 0;
}
