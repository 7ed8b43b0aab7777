#include "platform/Log.h"

#include <Poco/AutoPtr.h>
#include <Poco/Exception.h>
#include <Poco/FileChannel.h>
#include <Poco/FormattingChannel.h>
#include <Poco/Logger.h>
#include <Poco/PatternFormatter.h>

namespace {

const char* const kLoggerName = "quobrix";

Poco::Logger& Logger()
{
    return Poco::Logger::get(kLoggerName);
}

Poco::AutoPtr<Poco::Channel> FileChannelIn(const std::string& dir)
{
    Poco::AutoPtr<Poco::FileChannel> file(new Poco::FileChannel(dir + "/" + Log::kFileName));
    file->setProperty(Poco::FileChannel::PROP_ROTATION, Log::kRotateSize);
    file->setProperty(Poco::FileChannel::PROP_ARCHIVE, "number");
    file->setProperty(Poco::FileChannel::PROP_PURGECOUNT, std::to_string(Log::kArchives));
    // A line of a program that then crashes is the one line that matters.
    file->setProperty(Poco::FileChannel::PROP_FLUSH, "true");
    Poco::AutoPtr<Poco::PatternFormatter> format(new Poco::PatternFormatter("%Y-%m-%d %H:%M:%S.%i %q %t"));
    format->setProperty(Poco::PatternFormatter::PROP_TIMES, "local");
    Poco::AutoPtr<Poco::Channel> channel(new Poco::FormattingChannel(format, file));
    channel->open();
    return channel;
}

}

bool Log::Open(const std::string& dir, bool verbose, std::string& error)
{
    try {
        Poco::Logger& logger = Logger();
        logger.setChannel(FileChannelIn(dir));
        logger.setLevel(verbose ? Poco::Message::PRIO_DEBUG : Poco::Message::PRIO_INFORMATION);
        return true;
    } catch (const Poco::Exception& failure) {
        error = failure.displayText();
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    return false;
}

void Log::Close()
{
    Poco::Logger& logger = Logger();
    if (Poco::Channel* channel = logger.getChannel())
        channel->close();
    logger.setChannel(nullptr);
}

void Log::Error(const std::string& text)
{
    Logger().error(text);
}

void Log::Warning(const std::string& text)
{
    Logger().warning(text);
}

void Log::Info(const std::string& text)
{
    Logger().information(text);
}

void Log::Debug(const std::string& text)
{
    Logger().debug(text);
}
