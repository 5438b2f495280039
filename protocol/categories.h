#pragma once

// The twelve data categories, in the fixed order of every per-category array.
// The first six are the private scope, the last six the app scope.
enum Category : int {
    Contact = 0,
    History,
    Message,
    Photo,
    Audio,
    Vedio,
    Facebook,
    Twitter,
    Skype,
    Viber,
    Kik,
    Whatsapp,
    CategoryCount
};

constexpr int FirstAppCategory = Facebook;
constexpr int AppCategoryCount = CategoryCount - FirstAppCategory;
