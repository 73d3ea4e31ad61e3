#pragma once
// What the tests read from the board's answers.

#include <string>

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

// GET /api/top for the length: the listing, with a failed expectation unless it is a 200.
inline nlohmann::json Top(httplib::Client& client, int length)
{
    const httplib::Result result =
        client.Get(("/api/top?length=" + std::to_string(length)).c_str());
    EXPECT_TRUE(result && result->status == 200);
    return result ? nlohmann::json::parse(result->body, nullptr, false) : nlohmann::json();
}

// The sentence of an error answer, or a note saying there is none.
inline std::string ErrorOf(const httplib::Result& result)
{
    const nlohmann::json body = nlohmann::json::parse(result->body, nullptr, false);
    return body.is_object() && body.contains("error") && body["error"].is_string()
               ? body["error"].get<std::string>()
               : "(no error sentence: " + result->body + ")";
}
