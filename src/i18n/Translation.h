#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// A message to translate later, for tables built before any language is chosen. The context says where
// the words are drawn (a button, an Options row...), which is also how the translators see it and how
// the test of fit finds the room it has.
struct Message {
    const char* context;
    const char* id;
};
constexpr Message msg(const char* context, const char* id) {
    return {context, id};
}

// The words on screen in the language now in use: its catalogue's translation, or the English id where
// it has none.
const char* tr(const char* context, const char* id);
inline const char* tr(Message message) {
    return tr(message.context, message.id);
}
// pattern with each {name} replaced by its value: translators may reorder the placeholders.
std::string fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// Loads assets/locale/<code>.mo ("en": none needed). False, with English in use, when it cannot.
bool useLanguage(std::string_view code);
std::string_view languageInUse();
// Counts the changes of language.
unsigned languageGeneration();

// For what keeps words drawn: whether another language has come on screen since it last asked, or
// since it was made.
class LanguageWatch {
public:
    bool changed();

private:
    unsigned seen_ = languageGeneration();
};
