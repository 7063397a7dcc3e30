#include "FileFlipper.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

FileFlipper::FileFlipper(const QString &path, QByteArray contents)
    : _thread([this, name = QFile::encodeName(path), contents = std::move(contents)] {
          const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
          if (fd < 0)
              return;
          while (!_stop) {
              (void)::ftruncate(fd, 0);
              std::this_thread::yield();
              (void)::pwrite(fd, contents.constData(), size_t(contents.size()), 0);
              std::this_thread::yield();
              ++_flips;
          }
          (void)::pwrite(fd, contents.constData(), size_t(contents.size()), 0);
          ::close(fd);
      })
{
}

FileFlipper::~FileFlipper()
{
    _stop = true;
    _thread.join();
}
