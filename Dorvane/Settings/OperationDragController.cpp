#include "Dorvane/Settings/OperationDragController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPropertyAnimation>
#include <QWidget>

#include "Dorvane/Visual/DesignTokens.h"

namespace dorvane {

OperationDragController::OperationDragController(Page page, QObject* parent) : QObject(parent), page_(std::move(page)) {}

OperationDragController::~OperationDragController() {
    if (dragged_) qApp->removeEventFilter(this);
    delete picture_.data();
}

void OperationDragController::press(const std::string& operationID, QPoint global) {
    if (dragged_) return;
    pressedID_ = operationID;
    pressPoint_ = global;
}

void OperationDragController::moved(QPoint global) {
    if (!dragged_) {
        if (!pressedID_) return;
        const QPoint travelled = global - pressPoint_;
        if (!startsDrag(travelled.x(), travelled.y())) return;
        begin(global);
        if (!dragged_) return;
    }
    picture_->move(global - grabOffset_);
    const auto over = page_.cardAt(global);
    if (over == hovered_) return;
    hovered_ = over;
    if (!over) return;
    if (const auto move = liveMove(page_.operations(), dragged_, *over)) page_.move(*move);
}

void OperationDragController::begin(QPoint global) {
    const std::string id = *pressedID_;
    pressedID_.reset();
    QWidget* card = page_.card(id);
    if (card == nullptr) return;
    const QPixmap image = page_.picture(id);
    if (image.isNull()) return;
    delete picture_.data();
    auto* picture = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                                            Qt::WindowDoesNotAcceptFocus);
    picture->setAttribute(Qt::WA_TranslucentBackground);
    picture->setAttribute(Qt::WA_ShowWithoutActivating);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setPixmap(image);
    picture->resize(image.deviceIndependentSize().toSize());
    picture_ = picture;
    // The picture starts exactly over the card and keeps the pointer where it took it.
    grabOffset_ = pressPoint_ - card->mapToGlobal(QPoint(0, 0));
    picture->move(global - grabOffset_);
    picture->show();
    dragged_ = id;
    hovered_.reset();
    qApp->installEventFilter(this);
    page_.setDragged(id);
}

void OperationDragController::released() {
    pressedID_.reset();
    if (dragged_) end();
}

void OperationDragController::cancel() { released(); }

void OperationDragController::end() {
    const std::string id = *dragged_;
    dragged_.reset();
    hovered_.reset();
    qApp->removeEventFilter(this);
    QWidget* card = page_.card(id);
    QPointer<QLabel> picture = picture_;
    picture_.clear();
    if (picture) {
        const bool glide = card != nullptr && !(page_.reduceMotion && page_.reduceMotion());
        if (glide) {
            auto* back = new QPropertyAnimation(picture.data(), "pos", picture.data());
            back->setDuration(static_cast<int>(DesignTokens::reorderDuration * 1000));
            back->setEasingCurve(QEasingCurve::OutCubic);
            back->setEndValue(card->mapToGlobal(QPoint(0, 0)));
            connect(back, &QPropertyAnimation::finished, picture.data(), &QObject::deleteLater);
            back->start(QAbstractAnimation::DeleteWhenStopped);
        } else {
            picture->hide();
            picture->deleteLater();
        }
    }
    page_.setDragged(std::nullopt);
}

bool OperationDragController::eventFilter(QObject* watched, QEvent* event) {
    if (dragged_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace dorvane
