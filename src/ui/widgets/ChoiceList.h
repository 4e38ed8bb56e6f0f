#pragma once

#include "jobs/JobValues.h"

#include <QComboBox>

#include <optional>

// The window's edge for the typed choices: a drop-down list's position is its choice's
// number, and nothing chosen is none.
namespace ChoiceList {

template <typename E> std::optional<E> chosen(const QComboBox* list)
{
    return JobValue::fromNumber<E>(list->currentIndex());
}

template <typename E> void choose(QComboBox* list, E value)
{
    list->setCurrentIndex(JobValue::number(value));
}

// A border that has a width, or one that has a colour.
inline bool shadowChosen(const QComboBox* borders)
{
    const auto type = chosen<BorderType>(borders);
    return type && JobValue::isShadow(*type);
}
inline bool plainBorderChosen(const QComboBox* borders)
{
    return chosen<BorderType>(borders) == BorderType::Border;
}
inline bool ovalChosen(const QComboBox* shapes)
{
    return chosen<AreaShape>(shapes) == AreaShape::Oval;
}

} // namespace ChoiceList
