#include "runner/TestRunner.h"

#include <algorithm>
#include <exception>
#include <unordered_map>

#include "platform/Exception.h"
#include "lang/DlgLangConverter.h"
#include "platform/IniFile.h"

using wm::kNoIndex;

namespace {

bool IsBlank(const std::string& s) { return platform::TrimBlanks(s).empty(); }

}  // namespace

TTestRunner::TTestRunner(TFileAccess& store, platform::WindowHandle mainHandle, IRunnerView& host,
                         std::int32_t testID, const std::string& /*testName*/)
    : store_(store), host_(&host), hostHandle_(host.Handle()), ownForm_(&host), mainHandle_(mainHandle),
      formHandle_(host.Handle()) {
    store_.GetTest(testID, test_);
    test_.Source = nullptr;
    LoadStimuli(testID);
    host.SetEvents(this);
}

TTestRunner::~TTestRunner() {
    // The pages still on screen must not call a runner that is gone.
    if (IRunnerView* h = LiveHost()) h->SetEvents(nullptr);
    if (ownForm_ != host_ && platform::MessageHub().IsWindow(formHandle_)) ownForm_->SetEvents(nullptr);
}

IRunnerView* TTestRunner::LiveHost() const {
    return platform::MessageHub().IsWindow(hostHandle_) ? host_ : nullptr;
}

void TTestRunner::SendToHost(std::uint32_t code, std::int32_t lParam) {
    platform::MessageHub().Send(hostHandle_, wm::WM_RUNTEST, code, lParam);
}

void TTestRunner::LoadStimuli(std::int32_t testID) {
    TTypeIntegerSingleList ids;
    store_.ListStimuli(testID, &ids, nullptr);
    stimuli_.reserve(static_cast<std::size_t>(ids.GetCount()));
    for (int i = 0; i < ids.GetCount(); ++i) {
        TStimul q;
        store_.GetStimulus(ids.Get(i), q);
        if (q.ID == -1) continue;
        q.Source = nullptr;
        stimuli_.push_back(std::move(q));
    }
}

void TTestRunner::LoadReactions(std::int32_t stimulusID) {
    reactions_.clear();
    TTypeIntegerSingleList ids;
    store_.ListReactions(stimulusID, &ids, nullptr);
    for (int i = 0; i < ids.GetCount(); ++i) {
        TReaction a;
        store_.GetReaction(ids.Get(i), a);
        if (a.ID == -1) continue;
        a.Source = nullptr;
        reactions_.push_back(std::move(a));
    }
}

// ---- queries

bool TTestRunner::IsVisited(int index) const {
    return std::find(visited_.begin(), visited_.end(), index) != visited_.end();
}

bool TTestRunner::IsChosen(std::int32_t reactionID) const { return ChosenIndexOf(reactionID) != kNoIndex; }

int TTestRunner::ChosenIndexOf(std::int32_t reactionID) const {
    const auto it = std::find(chosen_.begin(), chosen_.end(), reactionID);
    return it == chosen_.end() ? kNoIndex : static_cast<int>(it - chosen_.begin());
}

int TTestRunner::ChosenCountOfStimulus(std::int32_t stimulusID) const {
    int n = 0;
    for (std::int32_t id : chosen_)
        if (store_.GetStimulusOfReaction(id) == stimulusID) ++n;
    return n;
}

std::vector<int> TTestRunner::ListUnanswered(bool mandatoryOnly) const {
    // One pass over the chosen answers, so a long test is not walked once per question.
    std::unordered_map<std::int32_t, int> counts;
    for (std::int32_t id : chosen_) ++counts[store_.GetStimulusOfReaction(id)];
    std::vector<int> list;
    for (std::size_t k = 0; k < stimuli_.size(); ++k) {
        const TStimul& q = stimuli_[k];
        const auto it = counts.find(q.ID);
        if ((it == counts.end() || it->second <= 0) && (!mandatoryOnly || HeldMandatory(q)))
            list.push_back(static_cast<int>(k));
    }
    return list;
}

bool TTestRunner::HeldMandatory(const TStimul& q) const {
    // A question that cannot be answered (no answers, or none allowed) would trap the person.
    return q.AnswerRequired && !(q.MultipleAnswers && q.AnswersLimit <= 0) && store_.ReactionCount(q.ID) > 0;
}

int TTestRunner::UnansweredMandatoryCount() const { return static_cast<int>(ListUnanswered(true).size()); }

bool TTestRunner::CanLeave() const {
    if (screen_ != rsStimulus) return true;
    const std::uint8_t md = test_.MoveDirection;
    const bool holds = md == mdForwardOnly || md == mdForwardBack || (md == mdFree && !test_.ReplayEnabled);
    if (holds && current_ >= 0 && current_ < static_cast<int>(stimuli_.size()) &&
        HeldMandatory(stimuli_[static_cast<std::size_t>(current_)]))
        return ChosenCountOfStimulus(stimuli_[static_cast<std::size_t>(current_)].ID) > 0;
    return true;
}

int TTestRunner::NextIndex() const {
    const int count = static_cast<int>(stimuli_.size());
    const int i = current_ + 1;
    if (test_.MoveDirection != mdFree || test_.ReplayEnabled) return i < count ? i : kNoIndex;
    for (int k = std::max(i, 0); k < count; ++k)
        if (!IsVisited(k)) return k;
    return kNoIndex;
}

int TTestRunner::PrevIndex() const {
    if (current_ <= 0) return kNoIndex;
    if (test_.MoveDirection != mdFree || test_.ReplayEnabled) return current_ - 1;
    for (int k = current_ - 1; k >= 0; --k)
        if (!IsVisited(k)) return k;
    return kNoIndex;
}

bool TTestRunner::CanGoNext() const {
    if (screen_ == rsInstruction) return NextIndex() >= 0;
    return screen_ == rsStimulus;
}

bool TTestRunner::CanGoBack() const {
    const std::uint8_t md = test_.MoveDirection;
    return PrevIndex() >= 0 && (md == mdForwardBack || md == mdFree) && screen_ != rsEndScreen;
}

bool TTestRunner::ReportsAllowed() const { return screen_ == rsEndScreen && UnansweredMandatoryCount() == 0; }

// ---- commands

void TTestRunner::RequireLeave() const {
    if (!CanLeave()) throw Exception(lang::GetMessageText("RUNTEST_NO_CHOSEN_REACTIONS"));
}

bool TTestRunner::ExecuteCommand(std::uint8_t code, std::int32_t value) {
    try {
        switch (code) {
        case rnStart:
            screen_ = rsInstruction;
            Redisplay();
            break;
        case rnNext: {
            if (!CanGoNext()) break;
            RequireLeave();
            const int i = NextIndex();
            if (i >= 0) {
                ShowQuestion(i);
            } else {
                screen_ = rsEndScreen;
                Redisplay();
            }
            break;
        }
        case rnBack: {
            if (!CanGoBack()) break;
            RequireLeave();
            const int i = PrevIndex();
            if (i >= 0) ShowQuestion(i);
            break;
        }
        case rnGoTo:
            // Only the questions the run took at its start can be reached.
            if (value < 0 || value >= static_cast<int>(stimuli_.size())) break;
            RequireLeave();
            ShowQuestion(value);
            break;
        case rnEndScreen:
            RequireLeave();
            screen_ = rsEndScreen;
            Redisplay();
            break;
        case rnProtocol:
            if (ReportsAllowed()) DisplayProtocol();
            break;
        case rnResults:
            if (ReportsAllowed()) DisplayResults();
            break;
        case rnRedisplay:
            Redisplay();
            break;
        case rnTab:
            RefreshHighlight();
            break;
        case rnSpaceEnter: {
            IRunnerView* view = LiveHost();
            if (!view) break;
            const int a = view->FocusedAnswer();
            if (a >= 0 && a < static_cast<int>(reactions_.size())) {
                ReactionClick(reactions_[static_cast<std::size_t>(a)].ID);
            } else if (const TNavLinkKind link = view->FocusedNavLink(); link != TNavLinkKind::None) {
                NavLinkPressed(link);
            } else if (const int question = view->FocusedEndLink(); screen_ == rsEndScreen && question != kNoIndex) {
                EndScreenLinkPressed(question);
            }
            break;
        }
        case rnUpLeft:
        case rnDownRight:
            if (screen_ != rsStimulus) break;
            FocusReaction(code == rnDownRight);
            RefreshHighlight();
            break;
        default:
            break;
        }
        UpdateMenus();
        return true;
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
        return false;
    }
}

void TTestRunner::SetHost(IRunnerView& host, std::uint8_t hostMode) {
    host_ = &host;
    hostHandle_ = host.Handle();
    hostMode_ = hostMode;
    host.SetEvents(this);
    // The new host's Go-To menu starts afresh: tell it what the old one had learnt.
    if (!test_.ReplayEnabled)
        for (int v : visited_) SendToHost(wm::rsDisableGotoItem, v);
    if (current_ >= 0) SendToHost(wm::rsCheckGotoItem, current_);
}

void TTestRunner::ShowQuestion(int index) {
    current_ = index;
    screen_ = rsStimulus;
    MarkVisited(index);
    Redisplay();
}

void TTestRunner::MarkVisited(int index) {
    if (IsVisited(index)) return;
    visited_.push_back(index);
    if (!test_.ReplayEnabled) SendToHost(wm::rsDisableGotoItem, index);
}

void TTestRunner::UpdateMenus() {
    SendToHost(CanGoNext() ? wm::rsNextOn : wm::rsNextOff);
    SendToHost(CanGoBack() ? wm::rsBackOn : wm::rsBackOff);
    switch (screen_) {
    case rsInstruction:
        SendToHost(wm::rsGotoOff);
        SendToHost(wm::rsProtocolOff);
        SendToHost(wm::rsResultsOff);
        break;
    case rsStimulus:
        SendToHost(test_.MoveDirection == mdFree ? wm::rsGotoOn : wm::rsGotoOff);
        SendToHost(wm::rsProtocolOff);
        SendToHost(wm::rsResultsOff);
        break;
    case rsEndScreen:
        SendToHost(wm::rsGotoOff);
        if (UnansweredMandatoryCount() > 0) {
            SendToHost(wm::rsProtocolOff);
            SendToHost(wm::rsResultsOff);
        } else {
            SendToHost(wm::rsProtocolOn);
            SendToHost(wm::rsResultsOn);
        }
        break;
    default:
        break;
    }
    if (hostMode_ == hmOwnWindow) {
        SendToHost(wm::rsMaximizeOn);
        SendToHost(wm::rsMinimizeOff);
        SendToHost(wm::rsCloseOn);
    } else if (hostMode_ == hmFullScreen) {
        SendToHost(wm::rsMaximizeOff);
        SendToHost(wm::rsMinimizeOn);
        SendToHost(wm::rsCloseOff);
    }
}

// ---- screens

void TTestRunner::Redisplay() {
    ClearHost();
    switch (screen_) {
    case rsInstruction: DisplayInstruction(); break;
    case rsStimulus:
        if (current_ >= 0 && current_ < static_cast<int>(stimuli_.size())) DisplayStimulus(current_);
        break;
    case rsEndScreen: DisplayEndScreen(); break;
    default: break;
    }
}

void TTestRunner::ClearHost() {
    IRunnerView* view = LiveHost();
    if (!view) return;
    try {
        view->ClearPage();
    } catch (const std::exception&) {
        lang::ShowMessageText(lang::GetMessageText("RUNTEST_OBJECT_NOT_DELETED"));
    }
}

TNavLinks TTestRunner::NavLinks() const {
    TNavLinks links;
    links.Back = CanGoBack();
    links.Next = CanGoNext();
    if (links.Back) links.BackText = lang::GetMessageText("RUNTEST_NAVBTN_BACK");
    if (links.Next) links.NextText = lang::GetMessageText("RUNTEST_NAVBTN_NEXT");
    return links;
}

void TTestRunner::DisplayInstruction() {
    if (IRunnerView* view = LiveHost()) view->ShowInstruction(test_.Instruction, NavLinks());
}

void TTestRunner::DisplayStimulus(int index) {
    const TStimul& q = stimuli_[static_cast<std::size_t>(index)];
    LoadReactions(q.ID);
    IRunnerView* view = LiveHost();
    if (!view) return;
    std::vector<TScreenAnswer> answers;
    answers.reserve(reactions_.size());
    for (const TReaction& a : reactions_) answers.push_back({a.ID, NormalizeLineBreaks(TextOf(a))});
    view->ShowStimulus(TextOf(q), answers, NavLinks());
    SendToHost(wm::rsCheckGotoItem, index);
    // A question shown again shows its chosen answers at once.
    RefreshHighlight();
}

void TTestRunner::DisplayEndScreen() {
    const std::vector<int> list = ListUnanswered(true);
    if (IRunnerView* view = LiveHost()) {
        std::vector<TScreenLink> links;
        for (int k : list) links.push_back({k, NormalizeLineBreaks(TextOf(stimuli_[static_cast<std::size_t>(k)]))});
        view->ShowEndScreen(list.empty() ? lang::GetMessageText("RUNTEST_TEST_COMPLETED")
                                         : lang::GetMessageText("RUNTEST_STIMULS_UNANSWERED"),
                            links);
    }
    UpdateMenus();
}

void TTestRunner::RefreshHighlight() {
    try {
        if (IRunnerView* view = LiveHost()) view->Highlight(chosen_);
    } catch (const std::exception&) {
        // Colours are cosmetic; the next refresh draws them again.
    }
}

void TTestRunner::FocusReaction(bool forward) {
    IRunnerView* view = LiveHost();
    const int n = static_cast<int>(reactions_.size());
    if (!view || n == 0) return;
    // The arrows move through the links of the page as well: a focused link keeps the focus.
    if (view->FocusedNavLink() != TNavLinkKind::None) return;
    int a = view->FocusedAnswer();
    if (forward) {
        if (a == kNoIndex || a >= n) a = 0;
    } else if (a < 0) {
        a = n - 1;
    }
    if (a >= n) a = n - 1;
    view->FocusAnswer(a);
}

// ---- answers

void TTestRunner::UnchooseStimulus(std::int32_t stimulusID) {
    for (int i = static_cast<int>(chosen_.size()) - 1; i >= 0; --i)
        if (store_.GetStimulusOfReaction(chosen_[static_cast<std::size_t>(i)]) == stimulusID)
            chosen_.erase(chosen_.begin() + i);
}

void TTestRunner::ReactionClick(std::int32_t reactionID) {
    try {
        if (reactionID == -1 || current_ < 0 || current_ >= static_cast<int>(stimuli_.size())) return;
        const TStimul& q = stimuli_[static_cast<std::size_t>(current_)];
        const auto it = std::find_if(reactions_.begin(), reactions_.end(),
                                     [&](const TReaction& a) { return a.ID == reactionID; });
        if (it == reactions_.end() || it->ParentID != q.ID) return;
        if (IsChosen(reactionID)) {
            chosen_.erase(chosen_.begin() + ChosenIndexOf(reactionID));
        } else {
            if (q.MultipleAnswers) {
                if (ChosenCountOfStimulus(q.ID) >= q.AnswersLimit)
                    throw Exception(lang::GetMessageText("RUNTEST_NUMOFCHOICES_ISBIG"));
            } else {
                UnchooseStimulus(q.ID);
            }
            chosen_.push_back(reactionID);
        }
        RefreshHighlight();
    } catch (const std::exception& e) {
        lang::ShowMessageText(e.what());
    }
}

void TTestRunner::AnswerClicked(std::int32_t reactionID) { ReactionClick(reactionID); }

void TTestRunner::NavLinkPressed(TNavLinkKind link) {
    if (link == TNavLinkKind::Next) SendToHost(wm::rsNextLinkPressed);
    if (link == TNavLinkKind::Back) SendToHost(wm::rsBackLinkPressed);
}

void TTestRunner::EndScreenLinkPressed(int stimulusIndex) { ExecuteCommand(rnGoTo, stimulusIndex); }

// ---- helpers

std::string TTestRunner::TextOf(const TAnyObject& item) {
    return IsBlank(item.Description) ? item.Name : item.Description;
}

std::string TTestRunner::NormalizeLineBreaks(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    }
    return out;
}
