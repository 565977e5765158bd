#pragma once

// The main window's title, also how tools and the real-window tests find it.
// It credits the team that makes the game: "first name" then "surname" here,
// the other way round in Label15.
inline constexpr char kMainWindowTitle[] = "תוכנת ה Velmora של צוות הבית";
