// Finds rows of a tree model whose chosen columns contain a text (case-insensitive substring),
// in the order a fully expanded tree shows them, stepping forwards or backwards with
// wrap-around. Only rows the model shows are searched, so rows a filter proxy hides are skipped.
// The row order and the matches are computed once and kept until the model changes, so that
// each step on a large schedule is a lookup rather than a walk. The model is not owned.
#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <functional>

class QAbstractItemModel;

class RyActivityFinder : public QObject
{
    Q_OBJECT
public:
    // Decides whether a row (column 0 index) takes part in the search at all.
    using RowPredicate = std::function<bool(const QModelIndex &)>;

    explicit RyActivityFinder(QObject *parent = nullptr);

    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const;
    // Header texts of the searched columns; columns the model lacks are skipped.
    void setColumns(const QStringList &headerTexts);
    void setRowPredicate(const RowPredicate &predicate);
    void setText(const QString &text);
    QString text() const { return m_text; }

    // The first match after (or before) `from` in tree order, wrapping around; from an invalid
    // index the first (or last) match. Invalid when nothing matches. Column 0 indexes.
    QModelIndex next(const QModelIndex &from);
    QModelIndex previous(const QModelIndex &from);
    // The first match at or after `from`: where a find goes while the text is typed.
    QModelIndex nearest(const QModelIndex &from);
    int matchCount();
    // The first searched column of `row` that holds the text; -1 when none does.
    int matchedColumn(const QModelIndex &row) const;

private:
    void invalidateRows();
    void invalidateMatches() { m_matchesValid = false; }
    void ensureRows();
    void ensureTexts();
    void ensureMatches();
    int positionOf(const QModelIndex &index) const;
    QModelIndex step(const QModelIndex &from, int direction, bool includeFrom);

    QPointer<QAbstractItemModel> m_model;
    QStringList m_headerTexts;
    QVector<int> m_columns;
    RowPredicate m_predicate;
    QString m_text;
    QVector<QModelIndex> m_rows; // every searched row in tree order
    QVector<int> m_matches; // ascending positions of matching rows
    // The searched cells' texts, row after row: a new text is matched without reading a cell.
    QVector<QString> m_texts;
    bool m_textsValid = false;
    bool m_rowsValid = false;
    bool m_matchesValid = false;
    QVector<QMetaObject::Connection> m_connections;
};
