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
    std::string nameServers;  // as written, "a.b.c.d, a.b.c.d"; empty when none were written
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
    std::string nameServers;  // as NameServers() shows them; empty without specific ones
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
    PreviewUi(const DataFiles& files, PreviewPhonebook& book, PreviewUser& user, OsClass osClass,
              Language language)
        : book_(book),
          user_(user),
          language_(language),
          inspector_(files, book.Api(), quiet_, quietUi_, osClass) {}

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
            facts.nameServers = NameServers(*entry, language_);
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
        if (written != nullptr && written->properties.size() >= sizeof(RASENTRYA)) {
            RASENTRYA entry;
            memcpy(&entry, written->properties.data(), sizeof(entry));
            const std::string servers = NameServers(entry, language_);
            p.nameServers = servers != before_.nameServers ? servers : std::string();
        }
    }

    std::string Why(const EntryExamination& e, const std::vector<Proposal>& proposals) const {
        const Language l = language_;
        switch (e.stop) {
            case ExaminationStop::EntryGone:
                return Say(l, Phrase::WhyGone);
            case ExaminationStop::PropertiesUnreadable:
                return Say(l, Phrase::WhyProperties, {std::to_string(e.error)});
            case ExaminationStop::OtherDeviceType:
                return Say(l, Phrase::WhyDevice, {Quoted(before_.deviceType)});
            case ExaminationStop::CredentialsUnreadable:
                return Say(l, Phrase::WhyCredentials, {std::to_string(e.error)});
            case ExaminationStop::OtherUserPrefix:
                return Say(l, Phrase::WhyPrefix,
                           {Quoted(before_.userName), Quoted(run_->UserPrefix)});
            case ExaminationStop::Examined:
                break;
        }
        const EntryFacts& facts = before_;
        std::string why;
        if (!e.tableHit) {
            if (!e.fletsIsdnProposed) {
                why = Say(l, Phrase::WhyNoTable, {Quoted(facts.number)});
            }
        } else if (!e.domainPassed) {
            const char* required = e.table == AccessPointTableKind::General ? "OldDialupDomain"
                                   : e.table == AccessPointTableKind::Phs   ? "OldMobileDomain"
                                                                            : "OldAirHDomain";
            const char* value = e.table == AccessPointTableKind::General ? run_->OldDialupDomain
                                : e.table == AccessPointTableKind::Phs   ? run_->OldMobileDomain
                                                                         : run_->OldAirHDomain;
            why = Say(l, Phrase::WhyDomain,
                      {TableFile(e.table), Quoted(facts.userName), required, Quoted(value)});
        }
        if (!e.fletsIsdnProposed &&
            run_->IsFletsIsdnNumber(facts.areaCode.c_str(), facts.localNumber.c_str())) {
            const bool off = run_->OldDomain[0] == '\0' || run_->FletsIsdnDomain[0] == '\0' ||
                             EqualsNoCase(run_->OldDomain, run_->FletsIsdnDomain);
            bool changedFirst = false;
            for (const Proposal& p : proposals) {
                changedFirst = changedFirst || (p.accessPoint && !p.userNameAfter.empty());
            }
            const std::string number = Quoted(run_->DefaultFletsIsdnNumber);
            why += (why.empty() ? std::string() : Say(l, Phrase::Separator)) +
                   (off            ? Say(l, Phrase::WhyFletsOff, {number})
                    : changedFirst ? Say(l, Phrase::WhyFletsAfterChange, {number})
                                   : Say(l, Phrase::WhyFletsDomain,
                                         {number, Quoted(facts.userName), Quoted(run_->OldDomain)}));
        }
        if (why.empty() && proposals.empty()) {
            why = Say(l, Phrase::WhyNothing);
        }
        return why;
    }

    PreviewPhonebook& book_;
    PreviewUser& user_;
    Language language_;
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
            fprintf(out, "\"userNameBefore\": %s, \"userNameAfter\": %s, \"nameServers\": %s}",
                    J(p.userNameBefore).c_str(),
                    p.userNameAfter.empty() ? "null" : J(p.userNameAfter).c_str(),
                    p.nameServers.empty() ? "null" : JsonString(p.nameServers).c_str());
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
               const std::vector<ShownMessage>& messages, Language l) {
    const auto line = [&](Phrase phrase, const std::vector<Arg>& args) {
        fprintf(out, "%s\n", Say(l, phrase, args).c_str());
    };
    const auto writeMessages = [&](const std::vector<ShownMessage>& list, Phrase lead) {
        for (const ShownMessage& m : list) {
            const Phrase icon = m.icon == MessageIcon::Warning       ? Phrase::IconWarning
                                : m.icon == MessageIcon::Information ? Phrase::IconInformation
                                                                     : Phrase::IconQuestion;
            line(lead, {icon, JsonString(m.text)});
        }
    };
    for (const EntryOutcome& e : entries) {
        const std::string name = "[" + Show(e.name) + "]";
        if (e.proposals.empty()) {
            line(Phrase::PassedOver, {name, e.why});
        }
        for (const Proposal& p : e.proposals) {
            if (p.accessPoint) {
                line(Phrase::AccessPointChange, {name, TableFile(e.table)});
                line(Phrase::NumberLine,
                     {Quoted(p.change.oldNumber), Quoted(p.change.newNumber),
                      p.change.newNumber[0] == '\0' ? Phrase::EmptyNumber : Phrase::None});
            } else {
                line(Phrase::FletsChange, {name, Quoted(p.userName.phoneNumber)});
            }
            line(Phrase::UserNameLine,
                 {Quoted(p.userNameBefore), p.userNameAfter.empty() ? Arg(Phrase::NotWritten)
                                            : p.userNameAfter == p.userNameBefore
                                                ? Arg(Phrase::Unchanged)
                                                : Arg(Quoted(p.userNameAfter))});
            line(Phrase::NameServersLine,
                 {p.nameServers.empty() ? Arg(Phrase::NameServersUnchanged) : Arg(p.nameServers)});
        }
        if (!e.proposals.empty() && !e.why.empty()) {
            line(Phrase::NotProposed, {e.why});
        }
        writeMessages(e.messages, Phrase::ProgramShows);
    }
    writeMessages(messages, Phrase::FinalMessage);
}

}  // namespace

std::string NameServers(const RASENTRYA& entry, Language language) {
    if ((entry.dwfOptions & RASEO_SpecificNameServers) == 0) {
        return std::string();
    }
    const auto shown = [](const RASIPADDR& a) { return Format("%u.%u.%u.%u", a.a, a.b, a.c, a.d); };
    const RASIPADDR& first = entry.ipaddrDns;
    const RASIPADDR& second = entry.ipaddrDnsAlt;
    if ((first.a | first.b | first.c | first.d | second.a | second.b | second.c | second.d) == 0) {
        return Say(language, Phrase::NameServersNone);
    }
    return shown(first) + ", " + shown(second);
}

int PreviewMigration(KitFolder& folder, PreviewPhonebook& phonebook, const PreviewOptions& options,
                     FILE* out) {
    PreviewUser user;
    PreviewUi ui(folder, phonebook, user, options.osClass, options.language);
    MigrationContext run(folder, phonebook.Api(), user, ui, options.osClass);
    ui.Attach(&run);
    run.RunMigration();
    // What is shown after the last entry, or instead of any, ends the run.
    const std::vector<ShownMessage> messages = user.pending;
    if (options.json) {
        WriteJson(out, ui.entries, messages);
    } else {
        WriteText(out, ui.entries, messages, options.language);
    }
    bool failed = false;
    for (const EntryOutcome& e : ui.entries) {
        for (const Proposal& p : e.proposals) {
            failed = failed || (p.accessPoint && p.change.newNumber[0] == '\0');
        }
        for (const ShownMessage& m : e.messages) {
            failed = failed || m.icon == MessageIcon::Warning;
        }
    }
    for (const ShownMessage& m : messages) {
        failed = failed || m.icon == MessageIcon::Warning;
    }
    return failed ? 1 : 0;
}
