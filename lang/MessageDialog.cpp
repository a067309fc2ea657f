#include "lang/MessageDialog.h"

#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "lang/DlgLangConverter.h"
#include "lang/HelpHook.h"
#include "lang/HelpKey.h"
#include "platform/CodePage.h"
#include "platform/UserInteraction.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ModalDialogs.h"

namespace {

struct ButtonSpec {
    std::string Caption;
    std::uint8_t Result;
};

std::vector<ButtonSpec> ButtonsOf(TMessageDlgType type) {
    const auto ok = [] { return ButtonSpec{"OK", TMessageDialog::mrOk}; };
    const auto cancel = [] { return ButtonSpec{lang::GetMessageText("MESSDLG_CANCEL_BUTTON"), TMessageDialog::mrCancel}; };
    const auto help = [] { return ButtonSpec{lang::GetMessageText("MESSDLG_HELP_BUTTON"), TMessageDialog::mrHelp}; };
    const auto yes = [] { return ButtonSpec{lang::GetMessageText("MESSDLG_YES_BUTTON"), TMessageDialog::mrYes}; };
    const auto no = [] { return ButtonSpec{lang::GetMessageText("MESSDLG_NO_BUTTON"), TMessageDialog::mrNo}; };
    switch (type) {
        case mdOk: return {ok()};
        case mdOkHelp: return {ok(), help()};
        case mdOkCancel: return {ok(), cancel()};
        case mdOkCancelHelp: return {ok(), cancel(), help()};
        case mdYesNo: return {yes(), no()};
        case mdYesNoHelp: return {yes(), no(), help()};
    }
    return {ok()};
}

TMessageDialog::Responder& ResponderSlot() {
    static TMessageDialog::Responder responder;
    return responder;
}


}  // namespace

TMessageDialog::TMessageDialog(QObject* owner) : QObject(owner) {}

TMessageDialog::~TMessageDialog() = default;

TMessageDialog::Responder TMessageDialog::SetResponder(Responder responder) {
    std::swap(ResponderSlot(), responder);
    return responder;
}

std::uint8_t TMessageDialog::Execute() {
    answer_ = mrNone;
    const std::vector<ButtonSpec> buttons = ButtonsOf(DialogType);
    if (const Responder& responder = ResponderSlot()) {
        answer_ = responder(*this);
        return answer_;
    }

    auto dialog = std::make_unique<QDialog>(nullptr);
    dialog->setObjectName("DialogForm");
    dialog->setWindowTitle(platform::ToQString(platform::CutShortText(Title)));
    const QString caption = platform::ToQString(platform::CutShortText(Caption));

    const QFontMetrics fm(dialog->font());
    TMessageDialogMetrics m;
    // A message may hold line breaks (a file name under the message): the widest line counts.
    const QStringList lines = caption.split(QLatin1Char('\n'));
    for (const QString& line : lines) m.CaptionWidth = std::max(m.CaptionWidth, fm.horizontalAdvance(line));
    m.ExtraLinesHeight = static_cast<int>(lines.size() - 1) * fm.lineSpacing();
    m.FontPointSize = QFontInfo(dialog->font()).pointSize();
    m.ButtonCount = static_cast<int>(buttons.size());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    m.MaxWidth = desk.width() - 40;
    m.TextHeightAt = [&](int width) {
        return fm.boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, caption).height();
    };
    const TMessageDialogGeometry g = ComputeMessageDialogGeometry(m);

    platform::SetDialogBorder(*dialog, QSize(g.Width, g.ClientHeight));
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* b = new QPushButton(platform::ToQString(buttons[i].Caption), dialog.get());
        b->setObjectName(QStringLiteral("Button%1").arg(i));
        b->setGeometry(g.ButtonLefts[i], g.ButtonTop, TMessageDialogMetrics::kButtonWidth,
                       TMessageDialogMetrics::kButtonHeight);
        const std::uint8_t result = buttons[i].Result;
        connect(b, &QPushButton::clicked, this, [this, result, b] { Press(result, b); });
    }
    auto* label = new QLabel(caption, dialog.get());
    label->setObjectName("cap");
    // What the message names can be selected and copied; the buttons keep the keyboard.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const bool wraps = g.LabelWidth < m.CaptionWidth;
    label->setWordWrap(wraps);
    const int labelHeight = wraps ? m.TextHeightAt(g.LabelWidth) : fm.height() + m.ExtraLinesHeight;
    label->setGeometry(g.LabelLeft, g.LabelTop, g.LabelWidth, labelHeight);
    dialog->move(desk.center() - QPoint(g.Width / 2, g.ClientHeight / 2));
    // The window carries the help context: F1 asks for its topic, as the Help button does; a box
    // without one shows the topic of the window it was opened from.
    if (HelpContext != 0) dialog->setProperty("HelpContext", HelpContext);
    lang::NoteHelpOpener(*dialog);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), dialog.get());
    connect(help, &QShortcut::activated, this, [this] {
        if (window_) lang::AskForHelp(lang::HelpContextOf(window_));
    });

    window_ = dialog.get();
    dialog->exec();
    window_ = nullptr;
    return answer_;
}

void TMessageDialog::Press(std::uint8_t result, QObject* sender) {
    // A handler's failure is shown here; it must not reach the event loop, and the box stays open.
    try {
        if (result == mrHelp) lang::RequestHelp(HelpContext);
        const TNotifyEvent* event = nullptr;
        switch (result) {
            case mrOk: event = &OKClickNotifyEvent; break;
            case mrCancel: event = &CancelClickNotifyEvent; break;
            case mrYes: event = &YesClickNotifyEvent; break;
            case mrNo: event = &NoClickNotifyEvent; break;
            default: event = &HelpClickNotifyEvent; break;
        }
        if (*event) (*event)(sender);
    } catch (const std::exception& e) {
        platform::ShowError(e.what());
        return;
    }
    answer_ = result;
    if (result != mrHelp && window_) window_->done(QDialog::Accepted);
}
