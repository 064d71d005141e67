#pragma once

#include <QString>
#include <QWidget>

namespace dorvane {

// The launcher's pieces that only show something: the error banner, the empty state,
// a section's header and the name bubble of a previewed tile. None takes a click.

// The last failed launch over the sections: a warning symbol and up to two lines of text
// on a red card, 44 points high.
class LauncherErrorBanner final : public QWidget {
public:
    explicit LauncherErrorBanner(QWidget* parent = nullptr);
    void setText(const QString& text);
    const QString& text() const { return text_; }
    // The lines the text takes at the banner's width (at most two, the last one elided).
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF textArea() const;

    QString text_;
};

// "未找到已安装的应用" under a dashed square, centred at the top.
class LauncherEmptyState final : public QWidget {
public:
    static const QString& message();
    explicit LauncherEmptyState(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A section's title and the number of its tiles, one element (a heading) to assistive
// technology.
class LauncherSectionHeader final : public QWidget {
public:
    explicit LauncherSectionHeader(QWidget* parent = nullptr);
    void setTexts(const QString& title, const QString& count);
    const QString& title() const { return title_; }
    const QString& count() const { return count_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString count_;
};

// The group of one section's header and tiles, named with its title for assistive technology.
class LauncherSectionView final : public QWidget {
public:
    explicit LauncherSectionView(QWidget* parent = nullptr);
    LauncherSectionHeader* header() const { return header_; }

private:
    LauncherSectionHeader* header_;
};

// The previewed application's name on a capsule, hanging below its tile over the neighbours.
class LauncherNameBubble final : public QWidget {
public:
    explicit LauncherNameBubble(QWidget* parent = nullptr);
    void setText(const QString& text);
    const QString& text() const { return text_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace dorvane
